#include "editing/backup.h"

#include "editing/road.h"

#include <algorithm>
#include <cctype>

namespace plv::editing {
namespace {

constexpr const char* kPrefix = "mycmds.";
constexpr std::size_t kDateLength = 8;

// "MM/DD/YYYY HH:MM:SS" -> "MMDDYYYY".
std::string mmddyyyy(files::FileTime day) {
    std::string local = files::formatLocalTime(day);
    return local.substr(0, 2) + local.substr(3, 2) + local.substr(6, 4);
}

// "YYYYMMDD" of a backup name, for ordering by date; empty when the name holds no date.
std::string dateKey(const std::string& name) {
    std::string date = name.substr(std::string(kPrefix).size());
    if (date.size() != kDateLength ||
        !std::all_of(date.begin(), date.end(), [](unsigned char c) { return std::isdigit(c); })) {
        return {};
    }
    return date.substr(4, 4) + date.substr(0, 4);
}

} // namespace

std::string backupFolder(const std::string& programFolder, const std::string& user) {
    return files::join(programFolder, user);
}

std::string backupName(files::FileTime day) {
    return kPrefix + mmddyyyy(day);
}

std::optional<std::string> backupUser(Session& s) {
    if (!s.dragon) {
        return std::nullopt;
    }
    return s.dragon->userOfCommandFile(s.file.path);
}

Backup takeBackup(Session& s, BackupKind kind, files::FileTime now) {
    auto user = backupUser(s);
    if (!user) {
        return {};
    }
    std::string folder = backupFolder(s.programFolder, *user);
    std::string path = files::join(folder, backupName(now));
    if (kind == BackupKind::Automatic && files::exists(path)) {
        return {};
    }
    if (files::isReadOnly(path)) {
        s.ui.warning(files::readOnlyMessage(path), s.file.path);
        return {Backup::Status::Failed, {}};
    }
    if (!files::makeDirectories(folder) || !files::copyFileAtomically(s.file.path, path)) {
        s.ui.warning("The backup of the command file could not be written: " + path +
                         (kind == BackupKind::Automatic
                              ? "\nNothing was changed: no change is written without it."
                              : ""),
                     s.file.path);
        return {Backup::Status::Failed, {}};
    }
    return {Backup::Status::Taken, {*user, path}};
}

std::optional<BackupTaken> explicitBackup(Road& road) {
    Session& s = road.session();
    if (!backupUser(s)) {
        s.ui.warning("Only a Dragon user's current mycmds.dat is backed up; this file is not one",
                     s.file.path);
        return std::nullopt;
    }
    Backup backup = takeBackup(s, BackupKind::Explicit);
    if (backup.status != Backup::Status::Taken) {
        return std::nullopt;
    }
    if (road.onBackupTaken) {
        road.onBackupTaken();
    }
    const BackupTaken& taken = backup.copy;
    s.ui.message("User '" + taken.user + "'\n\n" + s.file.path +
                     "\n\nBackup taken successfully to " + taken.path,
                 taken.path);
    return taken;
}

std::vector<std::string> restoreEntries(const std::string& folder, files::FileTime now) {
    std::string month = kPrefix + mmddyyyy(now).substr(0, 2);
    std::vector<std::string> names;
    for (auto& name : files::fileNamesIn(folder)) {
        if (name.rfind(month, 0) == 0) {
            names.push_back(std::move(name));
        }
    }
    // Dated names newest first; anything else after them, by name.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        std::string ka = dateKey(a);
        std::string kb = dateKey(b);
        if (ka.empty() != kb.empty()) {
            return kb.empty();
        }
        return ka != kb ? ka > kb : a < b;
    });
    return names;
}

} // namespace plv::editing
