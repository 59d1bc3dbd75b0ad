#pragma once

#include <optional>
#include <string>

// The system's own application-data folders, where the system has them (Windows); elsewhere
// none, and Dragon's folders are found below a Dragon root.
namespace plv {

// The folder all users share (C:\ProgramData).
std::optional<std::string> commonAppDataFolder();
// The user's roaming folder (C:\Users\NAME\AppData\Roaming).
std::optional<std::string> userAppDataFolder();
// The program folder where neither --home nor $PARLAVISTA_HOME names one: the system's
// place for a user's application data.
std::string defaultProgramFolder();

} // namespace plv
