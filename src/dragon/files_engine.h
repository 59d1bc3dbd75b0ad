#pragma once

#include "dragon/controls.h"
#include "dragon/dragon_root.h"

#include <string>

namespace plv::dragon {

// Dragon's engine as its own files tell it, for the terminal tool beside an installed Dragon
// (which does not call the engine control): the version and edition from dragon.log, the
// current speaker and the user base directory from nsuser.ini, the program folder from
// nssystem.ini. It answers while nssystem.ini is there.
class FilesEngine : public EngineControl {
  public:
    explicit FilesEngine(DragonRoot root);

    bool registerAndSwitchOn(const std::string& mainWindowTitle) override;
    std::uint32_t productFlags() override;
    EngineVersion version() override;
    std::string directory() override;
    // Dragon's own windows belong to natspeak.exe in its program folder.
    std::string ownerProcessPath(const std::string& windowTitle) override;
    std::string currentSpeaker() override;
    int speakerLanguage(const std::string& speaker) override;
    void showDialog(int number, const std::string& ownerWindowTitle) override;
    void onSpeakerChanged(std::function<void(const std::string&)> handler) override;

  private:
    std::string logLine(const std::string& marker) const;
    std::string userSetting(const std::string& key) const;

    DragonRoot root_;
};

} // namespace plv::dragon
