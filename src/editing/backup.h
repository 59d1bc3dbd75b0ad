#pragma once

#include "datfile/session.h"
#include "platform/files.h"

#include <optional>
#include <string>
#include <vector>

// Backups of a Dragon user's command file: before the first change of each day the file is
// copied to PROGRAM/<user>/mycmds.mmddyyyy; the copies of the current month are offered
// for Restore. Backups are never deleted.
namespace plv::editing {

inline constexpr const char* kPreRollbackName = "mycmds.prerollback";
inline constexpr const char* kNoneToRollBack = "none to rollback";

// The folder of a user's backups in the program folder.
std::string backupFolder(const std::string& programFolder, const std::string& user);
// "mycmds." + the local date of `day` as mmddyyyy.
std::string backupName(files::FileTime day);

// The user whose current command file is open; nothing for any other file.
std::optional<std::string> backupUser(Session& session);

enum class BackupKind {
    Automatic, // only when today has no backup yet, so it keeps the state before the day's edits
    Explicit,  // always, overwriting today's
};

struct BackupTaken {
    std::string user;
    std::string path;
};

// What became of a backup: a copy taken, none needed (another file, or today's exists), or a
// copy that could not be written (its message shown).
struct Backup {
    enum class Status { Taken, NotNeeded, Failed };
    Status status = Status::NotNeeded;
    BackupTaken copy; // when taken
};

// Copies the open file to today's backup when it is a user's current command file.
Backup takeBackup(Session& session, BackupKind kind, files::FileTime now = files::now());

class Road;

// "Bac&kup mycmds.dat": today's backup taken (again) now, and where it went is shown.
// Nothing when no copy was taken (said why).
std::optional<BackupTaken> explicitBackup(Road& road);

// The backups in `folder` of the month of `now`, whatever the year: the Restore menu's
// entries, newest first.
std::vector<std::string> restoreEntries(const std::string& folder,
                                        files::FileTime now = files::now());

} // namespace plv::editing
