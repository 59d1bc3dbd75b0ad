#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Dragon's controls as this program uses them: each interface holds exactly the operations
// the program calls. On Linux, where Dragon cannot run, stand-ins implement them.
namespace plv::dragon {

struct EngineVersion {
    int major = 0;
    int minor = 0;
    int third = 0;
};

// Bit of the product-capability flags that a Professional-series engine sets.
inline constexpr std::uint32_t kProfessionalFlag = 16;

// DgnEngineControl.
class EngineControl {
  public:
    virtual ~EngineControl() = default;
    // Registers the program's main window and switches the control on; false when the
    // control cannot be used.
    virtual bool registerAndSwitchOn(const std::string& mainWindowTitle) = 0;
    virtual std::uint32_t productFlags() = 0;
    virtual EngineVersion version() = 0;
    // A folder prefix of the Dragon user files (shown as ".." in captions).
    virtual std::string directory() = 0;
    // The full path of the executable that owns the window with this title; empty when
    // no such window is known.
    virtual std::string ownerProcessPath(const std::string& windowTitle) = 0;
    virtual std::string currentSpeaker() = 0;
    // A Windows language identifier (1033 for US English).
    virtual int speakerLanguage(const std::string& speaker) = 0;
    // Dialog 10 opens Dragon's "MyCommands Editor" window.
    virtual void showDialog(int number, const std::string& ownerWindowTitle) = 0;
    // Raised with the new speaker's name when another Dragon user is loaded.
    virtual void onSpeakerChanged(std::function<void(const std::string&)> handler) = 0;
    // Gives the control a chance to raise its notifications (called from a timer).
    virtual void poll() {}
};

// DgnVoiceCmd: the program's own voice menus.
class VoiceCommands {
  public:
    using MenuId = int;
    virtual ~VoiceCommands() = default;
    virtual MenuId createMenu(const std::string& application, const std::string& state,
                              int language, const std::string& dialect, int flags) = 0;
    // Adds or redefines the command with this spoken text in the menu.
    virtual void addCommand(MenuId menu, int id, const std::string& spoken,
                            const std::string& category,
                            const std::optional<std::string>& scriptBody = {}) = 0;
    virtual void assignList(MenuId menu, const std::string& listName,
                            const std::vector<std::string>& words) = 0;
    // The menu is active while the window with this title is in front.
    virtual void bindAndActivate(MenuId menu, const std::string& windowTitle) = 0;
    virtual void setActive(MenuId menu, bool active) = 0;
    // Raised with the command's ID and the spoken words when a command is recognised.
    virtual void onRecognition(std::function<void(int id, const std::string& words)> handler) = 0;
    // 0 when the SCRIPT body is correct, else the line number of its first error.
    virtual int scriptCheck(const std::string& body) = 0;
};

// DgnMicBtn: shown on the main window; nothing is called on it.
class MicButton {
  public:
    virtual ~MicButton() = default;
    virtual void show() = 0;
};

// mergemycmds: merges a placer file's commands into the user's command file.
class MergeProgram {
  public:
    virtual ~MergeProgram() = default;
    // Starts the program hidden, without waiting for it; false when it cannot start.
    virtual bool start(const std::string& programPath, const std::string& commandFile,
                       const std::string& placerFile) = 0;
};

// Dragon's "MyCommands Editor" window, driven by keystrokes.
class CommandEditor {
  public:
    virtual ~CommandEditor() = default;
    virtual bool isOpen() = 0;
    // Makes it the foreground window: keystrokes go to the window in front.
    virtual void bringToFront() = 0;
    virtual void sendKeys(const std::string& keys) = 0;
};

} // namespace plv::dragon
