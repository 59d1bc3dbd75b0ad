#pragma once

#include "browser/menus.h"
#include "dragon/controls.h"

#include <functional>
#include <optional>
#include <string>

namespace plv::browser {

// Recognition IDs that the window itself handles.
enum VoiceId {
    kVoiceCommands = 1,
    kVoiceLists = 2,
    kVoiceRecentlyCreated = 3,
    kVoiceRecentlyModified = 4,
    kVoiceSlider = 5,
    kVoiceProgram = 6,
    kVoiceScope = 7,
    kVoiceGroup = 8,
    kVoiceNumberedProgram = 20,
    kVoiceNumberedScope = 21,
    kVoiceNumberedGroup = 22,
};

inline constexpr const char* kSpokenControls = "Spoken controls";

// The program's own voice menus: "Parlavista"/"Parlavista", active while the main window
// is in front, and "Parlavista"/"Numbered", active while the menus are numbered.
// Without a voice-command control everything here does nothing.
class VoiceMenus {
  public:
    explicit VoiceMenus(dragon::VoiceCommands* voice) : voice_(voice) {}

    void build(const std::string& mainWindowTitle, bool numberMenus);
    void setNumbering(bool on);
    // "program <programnumbers>" and its LIST, for a menu of `count` numbered entries.
    void defineMenuCommand(MenuKind kind, std::size_t count);
    // "<programnumbers>" in the "Numbered" menu, while that menu is open.
    void defineNumberedCommand(MenuKind kind, std::size_t count);

    // Recognitions of the program's own commands go to `handler`.
    void onRecognition(std::function<void(int id, const std::string& words)> handler);

    // The number in "slider 3".
    static std::optional<int> sliderValue(const std::string& words);

  private:
    dragon::VoiceCommands* voice_;
    dragon::VoiceCommands::MenuId main_ = 0;
    dragon::VoiceCommands::MenuId numbered_ = 0;
    bool built_ = false;
};

} // namespace plv::browser
