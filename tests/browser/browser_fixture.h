#pragma once

#include "browser/browser.h"
#include "datfile/builder.h"
#include "dragon/stand_in.h"
#include "support/fixtures.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace plv::test {

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
    dragon::RecordingVoiceCommands voice;
    std::unique_ptr<browser::Browser> browser;
};

} // namespace plv::test
