#pragma once

#include "browser/browser.h"
#include "datfile/builder.h"
#include "dragon/controls.h"
#include "support/fixtures.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace plv::test {

// Keeps every voice menu, command and LIST it is given, as Dragon would.
class RecordingVoice : public dragon::VoiceCommands {
  public:
    struct Command {
        int id;
        std::string spoken;
        std::string category;
        std::optional<std::string> body;
    };
    struct Menu {
        std::string application;
        std::string state;
        int language = 0;
        std::string dialect;
        int flags = 0;
        std::string boundTo;
        bool active = false;
        std::vector<Command> commands;
        std::map<std::string, std::vector<std::string>> lists;
        const Command* find(const std::string& spoken) const;
    };

    MenuId createMenu(const std::string& application, const std::string& state, int language,
                      const std::string& dialect, int flags) override;
    void addCommand(MenuId menu, int id, const std::string& spoken, const std::string& category,
                    const std::optional<std::string>& body) override;
    void assignList(MenuId menu, const std::string& listName,
                    const std::vector<std::string>& words) override;
    void bindAndActivate(MenuId menu, const std::string& windowTitle) override;
    void setActive(MenuId menu, bool active) override { menus.at(menu).active = active; }
    void onRecognition(std::function<void(int, const std::string&)> handler) override {
        handler_ = std::move(handler);
    }
    int scriptCheck(const std::string&) override { return 0; }
    void recognise(int id, const std::string& words) { handler_(id, words); }

    const Menu* menu(const std::string& state) const;
    std::vector<Menu> menus;

  private:
    std::function<void(int, const std::string&)> handler_;
};

// The commands of a small but complete user: every type, three Programs, a window Scope,
// Groups, LISTs referred to from Global Commands and from an application.
std::string sampleCommandFile(int languageByte = 9);

// A parsed sample file with settings and a browser over it.
struct BrowserHarness {
    explicit BrowserHarness(const std::string& fileBytes = sampleCommandFile(),
                            const std::string& fileName = "mycmds.dat");
    // Starts the browser as the window does: voice menus, settings, menus, selection.
    void start(const std::string& program = kGlobalCommands,
               const std::string& scope = kGlobalCommands);
    std::vector<std::string> entries(browser::Tab tab) const { return browser->list(tab).entries; }
    // Clicks the entry with this text in the list of `tab`; false when absent.
    bool click(browser::Tab tab, const std::string& text);
    std::size_t menuIndex(browser::MenuKind kind, const std::string& value) const;
    std::vector<std::string> menuTexts(browser::MenuKind kind) const;

    Harness h;
    std::string path;
    std::unique_ptr<Settings> settings;
    RecordingVoice voice;
    std::unique_ptr<browser::Browser> browser;
};

} // namespace plv::test
