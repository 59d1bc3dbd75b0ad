#pragma once

#include "editing/road.h"

#include <string>

// Restore: one of the user's dated backups replaces the user's command file; the replaced
// file is kept as mycmds.prerollback.
namespace plv::editing {

inline constexpr const char* kRestoreTitle = "Restore from archived file?";

// The user whose backups are offered: the user of the open file, else the user the program
// opened.
std::string restoreUser(Road& road);
// The user's current command file; empty without Dragon.
std::string standardFile(Road& road, const std::string& user);
std::string restoreQuestion(const std::string& user, const std::string& target,
                            const std::string& entry);

// Once the backup named `entry` ("mycmds.mmddyyyy") is found to read, copies the user's
// command file to the pre-rollback copy and the backup over it; the restored file becomes
// the open file and is parsed. A backup that does not read is refused, every file left as
// it was (one that the catalogue still refuses is taken out again).
Outcome restoreBackup(Road& road, const std::string& entry);
// Dragon takes the restored file over when it is the current user's and Dragon runs.
Outcome handOverRestored(Road& road);

} // namespace plv::editing
