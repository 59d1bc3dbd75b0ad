#pragma once

#include <optional>
#include <string>

namespace plv::dragon {

// Dragon's folders on this system, all below one root folder:
//   ROOT/ProgramData  the common application-data folder (nssystem.ini, the users)
//   ROOT/AppData      the user's application-data folder (nsuser.ini, dragon.log)
//   ROOT/engine.ini   what the running engine reports
//   ROOT/Program      Dragon's program folder (its merge program)
// An empty root is the system's own folders, where it has them (Windows): the common and the
// user's application-data folders, and the program folder that nssystem.ini's
// "Base Directory" names; no engine.ini.
struct DragonRoot {
    std::string root;

    bool systemFolders() const;
    std::string commonAppData() const;
    std::string userAppData() const;
    std::string engineIni() const;
    std::string programFolder() const;
};

// The root given on the command line, else $PARLAVISTA_DRAGON_ROOT, else the empty root of
// the system's own folders where it has them; nullopt when none of these.
std::optional<std::string> resolveDragonRoot(const std::optional<std::string>& option);

// An application-data folder + Nuance/NaturallySpeaking11: where Dragon 11 keeps its
// settings files and log.
std::string dragonDataFolder(const std::string& appData);

// The common folder derived from the user's own on systems without a shared folder: a
// path with "Profiles" is cut one character after it and continued with "All Users\"
// and the part from "Application Data" on; otherwise "\application" becomes
// "\all users\application" (letter case ignored).
std::string commonFolderFromUserFolder(const std::string& userAppData);

// The executable's name without folder and extension, for Windows and local paths alike.
std::string executableBaseName(const std::string& path);

// The merge program's file name on this system.
std::string mergeProgramName();

} // namespace plv::dragon
