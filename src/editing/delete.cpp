// Delete: the shown command (with the LISTs only it used) or the shown LIST, after a
// question; written at once.
#include "datfile/record_ops.h"
#include "editing/commands.h"
#include "editing/prompts.h"

#include <algorithm>

namespace plv::editing {
namespace {

struct Place {
    std::string program = kGlobalCommands;
    std::string scope = kGlobalCommands;
    std::string name;
};

// What to show once the command has gone: the next command of its Program and Scope, else
// the one before it, else the global commands.
Place placeAfter(const Catalogue& catalogue, const UserRow& gone) {
    std::vector<std::string> names;
    for (const auto& row : catalogue.rowsOf(gone.menu, gone.state)) {
        if (!row.isList()) {
            names.push_back(row.name);
        }
    }
    auto at = std::find(names.begin(), names.end(), gone.name);
    if (at == names.end() || names.size() == 1) {
        return {};
    }
    auto next = at + 1 != names.end() ? at + 1 : at - 1;
    return {gone.menu, gone.state, *next};
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

Outcome deleteCommand(Editor& e, const UserRow& row, int tab) {
    Session& s = e.session();
    Place after = placeAfter(s.catalogue, row);
    s.catalogue.setFlagAll(false);
    s.catalogue.setFlag(row.id, true);
    std::vector<std::string> dropped;
    Outcome done = dat::deletethem(s, &dropped);
    s.catalogue.setFlagAll(false);
    if (done != Outcome::Done) {
        return done;
    }
    e.view().select(after.program, after.scope, after.name);
    e.showAfterRefresh(tab);
    done = e.road().postWrite();
    if (done == Outcome::Done && !dropped.empty()) {
        s.ui.message("No command uses these LISTs any more; they were deleted with the command: " +
                         joined(dropped),
                     s.file.path);
    }
    return done;
}

} // namespace

Outcome Delete(Editor& e) {
    Operation op(e);
    if (Outcome ready = readyForCommand(e, op); ready != Outcome::Done) {
        return ready;
    }
    Session& s = e.session();
    BrowsingView::Shown shown = e.view().shown();
    auto row = shownRow(e);
    if (!row) {
        s.ui.warning("Delete file error", shown.name);
        e.view().reset();
        return Outcome::Refused;
    }
    bool list = row->isList();
    if (!s.ui.confirm(std::string("Delete this ") + (list ? "LIST?" : "command?"), shown.name) ||
        (list && !listInUseCheck(e, row->name, "Delete"))) {
        return Outcome::Refused;
    }
    s.ui.status(kOperationInProgress);
    e.road().waits().pause(0);
    if (!e.road().automaticBackup(true)) {
        return Outcome::Refused;
    }
    Outcome done = Outcome::Refused;
    if (!list) {
        done = deleteCommand(e, *row, shown.tab);
    } else if ((done = dat::DeleteList(s, *row)) == Outcome::Done) {
        e.showAfterRefresh(shown.tab);
        done = e.road().postWrite();
    }
    if (done == Outcome::Done) {
        e.view().outputRecentlyUsed();
    }
    return done;
}

} // namespace plv::editing
