#include "editing/restore.h"

#include "datfile/file_commands.h"
#include "datfile/reader.h"
#include "editing/backup.h"

namespace plv::editing {
namespace {

// The restored file parsed as the open file; ProgramEnds when it does not read.
Outcome parseRestored(Session& s, const std::string& target) {
    if (dat::parse(s, true, target) == dat::ParseStatus::ProgramEnds) {
        return Outcome::ProgramEnds;
    }
    return s.parseOk ? Outcome::Done : Outcome::Refused;
}

std::string unreadable(const std::string& backup) {
    return "The backup " + backup + " cannot be read; the command file was left as it was";
}

} // namespace

std::string restoreUser(Road& road) {
    if (auto user = backupUser(road.session())) {
        return *user;
    }
    dragon::DragonEnvironment* env = road.dragon().environment;
    return env ? env->properties().UserName : std::string();
}

std::string standardFile(Road& road, const std::string& user) {
    dragon::DragonEnvironment* env = road.dragon().environment;
    if (!env || user.empty()) {
        return {};
    }
    std::string current =
        files::join(files::join(env->properties().UserBaseDirectory, user), "current");
    return files::join(current, "mycmds.dat");
}

std::string restoreQuestion(const std::string& user, const std::string& target,
                            const std::string& entry) {
    std::string date = entry.size() >= 8 ? entry.substr(entry.size() - 8) : entry;
    return "Restore user '" + user + "'\n\n" + target + "\n\nto version before first \n" +
           "Parlavista execution on: " + date + " (mmddyyyy) ?";
}

Outcome restoreBackup(Road& road, const std::string& entry) {
    Session& s = road.session();
    std::string user = restoreUser(road);
    std::string target = standardFile(road, user);
    std::string folder = backupFolder(s.programFolder, user);
    std::string backup = files::join(folder, entry);
    if (target.empty() || !files::exists(backup)) {
        s.ui.warning("There is no backup " + backup, kRestoreTitle);
        return Outcome::Refused;
    }
    // The pre-rollback copy is the only one of the state before the last restore: it is
    // replaced only for a backup that reads.
    if (!dat::readsToItsEnd(files::readAll(backup).value_or(std::string()))) {
        s.ui.warning(unreadable(backup), target);
        return Outcome::Refused;
    }
    std::string preRollback = files::join(folder, kPreRollbackName);
    for (const std::string& file : {target, preRollback}) {
        if (files::isReadOnly(file)) {
            s.ui.warning(files::readOnlyMessage(file), file);
            return Outcome::Refused;
        }
    }
    if (!files::copyFileAtomically(target, preRollback) ||
        !files::copyFileAtomically(backup, target)) {
        s.ui.warning("The backup could not be restored: " + backup, target);
        return Outcome::Refused;
    }
    Outcome done = parseRestored(s, target);
    if (done != Outcome::Refused) {
        return done;
    }
    // The user's file must not be left unreadable: the file it replaced comes back.
    files::copyFileAtomically(preRollback, target);
    if (parseRestored(s, target) != Outcome::Done) {
        dat::failureExit(s, target);
        return Outcome::ProgramEnds;
    }
    s.ui.warning(unreadable(backup), target);
    return Outcome::Refused;
}

Outcome handOverRestored(Road& road) {
    if (road.isCurrentUserFile() && road.windowExists && road.windowExists(kDragonWindow)) {
        return road.postWrite();
    }
    return Outcome::Done;
}

} // namespace plv::editing
