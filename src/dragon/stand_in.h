#pragma once

#include "dragon/controls.h"
#include "dragon/dragon_root.h"
#include "platform/files.h"
#include "platform/profile.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Stand-ins for Dragon's controls where Dragon cannot run. They behave as Dragon does as
// far as this program can observe: the engine reports what ROOT/engine.ini says, the
// voice-command control keeps the menus it is given, the merge program is started as a
// real process, and the command editor records the keystrokes sent to it.
namespace plv::dragon {

inline constexpr const char* kCommandEditorTitle = "MyCommands Editor";
inline constexpr int kCommandEditorDialog = 10;

// engine.ini, section "Engine": "major", "minor", "third", "product flags",
// "directory", "current speaker" and "foreground window" (the title of the window in
// front when the program starts); section "Speaker Languages": speaker = language
// identifier; section "Window Owners": window title or class = executable path.
// Every query answers from the file as it is now, as the running engine would.
class StandInEngine : public EngineControl {
  public:
    explicit StandInEngine(std::string engineIniPath);

    bool registerAndSwitchOn(const std::string& mainWindowTitle) override;
    std::uint32_t productFlags() override;
    EngineVersion version() override;
    std::string directory() override;
    std::string ownerProcessPath(const std::string& windowTitle) override;
    std::string currentSpeaker() override;
    int speakerLanguage(const std::string& speaker) override;
    void showDialog(int number, const std::string& ownerWindowTitle) override;
    void onSpeakerChanged(std::function<void(const std::string&)> handler) override;
    // Raises the speaker change when engine.ini names another speaker than last time.
    void poll() override;

    // The window in front when the program started (not a call of Dragon's control).
    std::string foregroundWindowTitle();
    const std::string& registeredWindow() const { return registeredWindow_; }
    const std::vector<int>& dialogsShown() const { return dialogs_; }
    void onDialog(std::function<void(int)> handler) { dialogHandler_ = std::move(handler); }

  private:
    // The file's values, read again when its content has changed; an unreadable file
    // keeps the last values.
    const Profile& current();
    std::string value(const std::string& key);
    int number(const std::string& key);

    std::string path_;
    Profile ini_;
    std::optional<std::string> text_;
    std::string registeredWindow_;
    std::string lastSpeaker_;
    std::vector<int> dialogs_;
    std::function<void(const std::string&)> speakerHandler_;
    std::function<void(int)> dialogHandler_;
};

class RecordingVoiceCommands : public VoiceCommands {
  public:
    struct Command {
        int id = 0;
        std::string spoken;
        std::string category;
        std::optional<std::string> script;
    };
    struct Menu {
        std::string application;
        std::string state;
        int language = 0;
        std::string dialect;
        int flags = 0;
        std::vector<Command> commands;
        std::map<std::string, std::vector<std::string>> lists;
        std::string boundWindow;
        bool active = false;
        const Command* find(const std::string& spoken) const;
    };

    MenuId createMenu(const std::string& application, const std::string& state, int language,
                      const std::string& dialect, int flags) override;
    void addCommand(MenuId menu, int id, const std::string& spoken, const std::string& category,
                    const std::optional<std::string>& scriptBody = {}) override;
    void assignList(MenuId menu, const std::string& listName,
                    const std::vector<std::string>& words) override;
    void bindAndActivate(MenuId menu, const std::string& windowTitle) override;
    void setActive(MenuId menu, bool active) override;
    void onRecognition(std::function<void(int id, const std::string& words)> handler) override;
    int scriptCheck(const std::string& body) override;

    const std::vector<Menu>& menus() const { return menus_; }
    const Menu* findMenu(const std::string& application, const std::string& state) const;
    // Raises the recognition event for a command as Dragon would.
    void inject(int id, const std::string& words);
    // Recognises `words` against the commands of the active menus, LISTs expanded, and
    // raises the event for the first that matches; false when none does.
    bool speak(const std::string& words);

  private:
    Menu* menu(MenuId id);
    std::vector<Menu> menus_;
    std::function<void(int, const std::string&)> handler_;
};

// The legacy SCRIPT check: 0, or the line of the first unbalanced quote or parenthesis,
// or of an If, Repeat, EndIf or EndRepeat without its partner.
int checkLegacyScript(const std::string& body);

class StandInMicButton : public MicButton {
  public:
    void show() override { ++shown_; }
    int timesShown() const { return shown_; }

  private:
    int shown_ = 0;
};

// Starts the merge program as a separate, hidden process and does not wait for it.
class MergeLauncher : public MergeProgram {
  public:
    bool start(const std::string& programPath, const std::string& commandFile,
               const std::string& placerFile) override;
    // Dragon's command line: the program, a blank, then both files in double quotes.
    static std::string commandLine(const std::string& programPath, const std::string& commandFile,
                                   const std::string& placerFile);
    const std::vector<std::string>& started() const { return started_; }

  private:
    std::vector<std::string> started_;
};

// Keeps the keys that reach it: only while it is open and in front, as on the desktop.
class RecordingCommandEditor : public CommandEditor {
  public:
    bool isOpen() override { return open_; }
    void bringToFront() override;
    void sendKeys(const std::string& keys) override;
    // Dialog 10 opens it behind the window that asked for it.
    void open() { open_ = true; }
    void close() { open_ = inFront_ = false; }
    bool inFront() const { return inFront_; }
    int timesBroughtToFront() const { return broughtToFront_; }
    const std::vector<std::string>& keysSent() const { return keys_; }

  private:
    bool open_ = false;
    bool inFront_ = false;
    int broughtToFront_ = 0;
    std::vector<std::string> keys_;
};

// The controls that start-up and the window use, whichever implements them.
struct Controls {
    EngineControl* engine = nullptr;
    VoiceCommands* voice = nullptr;
    MicButton* mic = nullptr;
    MergeProgram* merge = nullptr;
    CommandEditor* editor = nullptr;
};

// All stand-ins for one Dragon root, wired together: dialog 10 of the engine opens the
// command editor.
class StandInDragon {
  public:
    explicit StandInDragon(const DragonRoot& root);
    StandInDragon(const StandInDragon&) = delete;
    StandInDragon& operator=(const StandInDragon&) = delete;

    StandInEngine& engine() { return engine_; }
    RecordingVoiceCommands& voice() { return voice_; }
    StandInMicButton& mic() { return mic_; }
    MergeLauncher& merge() { return merge_; }
    RecordingCommandEditor& editor() { return editor_; }
    Controls controls();

  private:
    StandInEngine engine_;
    RecordingVoiceCommands voice_;
    StandInMicButton mic_;
    MergeLauncher merge_;
    RecordingCommandEditor editor_;
};

} // namespace plv::dragon
