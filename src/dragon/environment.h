#pragma once

#include "catalogue/catalogue.h"
#include "dragon/controls.h"
#include "dragon/dragon_root.h"
#include "dragon/user_files.h"
#include "platform/interaction.h"
#include "platform/trace.h"

#include <optional>
#include <string>

namespace plv::dragon {

// What the environment found out about Dragon's installation and its current user.
struct DragonProperties {
    std::string DataBaseName = "global.mdb";
    int MajorVersion = 0;
    int MinorVersion = 0;
    std::string version = "*.*";
    std::string edition = "xxx";
    std::string SystemFilename;   // nssystem.ini
    std::string logfilename;      // dragon.log
    std::string userSettingsFile; // nsuser.ini
    std::string BaseDirectory;
    std::string UserBaseDirectory;
    std::string UserName;
    // The user's folder below the user base directory (Dragon 11 names it after the user).
    std::string UserSub;
    std::string CurrentPath;
    std::string SpeakerLanguageID = "0";
    std::string language;
    std::string GeneralPath;
    std::string wordpath;
    std::string InstallPath;
    bool RoamingOn = false;
    std::string RoamingDirectory;
    std::string RoamingCacheDirectory;
    bool IsRoamingUser = false;
    std::string BasePath;        // the common application-data folder
    std::string applicationpath; // BasePath + Nuance/NaturallySpeaking11
    std::string operatingSystem;
};

// The families of operating system the program runs on.
bool isSupportedOperatingSystem(const std::string& family);
// This system's family ("Linux" here).
std::string operatingSystemFamily();

// The Dragon environment object: one per program run. It finds Dragon's settings files,
// checks the version, finds the current user and that user's folders, and empties the
// catalogue when the current user is not the one it was built for.
class DragonEnvironment : public UserFiles {
  public:
    struct Folders {
        std::string commonAppData; // empty on systems without a shared folder
        std::string userAppData;
    };
    static Folders foldersOf(const DragonRoot& root);

    DragonEnvironment(Folders folders, EngineControl& engine, UserInteraction& ui, Trace& trace);

    void setdatabasename(const std::string& name) { p_.DataBaseName = name; }
    // Checks the installation and discovers the current user over the open catalogue of
    // `programFolder`. False (after its messages) when start-up must be abandoned.
    bool ProductionOpen(Catalogue& catalogue, const std::string& programFolder);
    bool GetPaths();
    bool initialize();
    void readVersionFromLog();
    // Reads the current user afresh; true when `path` is that user's mycmds.dat.
    bool isCurrentUserFile(const std::string& path);
    // Stores the value in the catalogue's `parameters`.`InstallPath` too.
    void setInstallPath(const std::string& path);
    // For tests: the family the operating-system check sees.
    void setOperatingSystem(const std::string& family) { os_ = family; }

    const DragonProperties& properties() const { return p_; }
    bool failed() const { return failed_; }

    std::string currentUserCommandFile() override;
    std::string directoryPrefix() override;
    std::optional<std::string> userOfCommandFile(const std::string& path) override;

  private:
    bool fail();
    void computePaths();
    void traceFile(const std::string& label, const std::string& path);
    void readUser(Catalogue& catalogue);
    void readLanguage(Catalogue& catalogue);
    void readFolders();
    void readRoaming();

    Folders folders_;
    EngineControl& engine_;
    UserInteraction& ui_;
    Trace& trace_;
    Catalogue* catalogue_ = nullptr;
    std::string os_;
    DragonProperties p_;
    bool failed_ = false;
};

} // namespace plv::dragon
