// Restore (an entry of the Restore menu): after the question, the backup replaces the user's
// command file, the window shows its first commands, and Dragon takes the file over.
#include "datfile/file_commands.h"
#include "editing/backup.h"
#include "editing/commands.h"
#include "editing/restore.h"

namespace plv::editing {

namespace {

Outcome restore(Editor& e, const std::string& entry, bool ask) {
    Operation op(e);
    if (!op.started() || e.state().editing || entry.empty() || entry == kNoneToRollBack) {
        return Outcome::Refused;
    }
    Road& road = e.road();
    std::string user = restoreUser(road);
    if (ask && !e.session().ui.okCancel(restoreQuestion(user, standardFile(road, user), entry),
                                        kRestoreTitle)) {
        return Outcome::Refused;
    }
    Outcome done = restoreBackup(road, entry);
    if (done != Outcome::Done) {
        return done;
    }
    auto [program, scope] = dat::firstProgramAndScope(e.session());
    e.view().reopened(program, scope);
    return handOverRestored(road);
}

} // namespace

Outcome Restore(Editor& e, const std::string& entry) {
    return restore(e, entry, true);
}

Outcome RestoreSeen(Editor& e, const std::string& entry) {
    return restore(e, entry, false);
}

} // namespace plv::editing
