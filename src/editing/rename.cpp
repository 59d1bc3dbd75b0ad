// Rename: the shown command or LIST takes a new name, written at once.
#include "datfile/record_ops.h"
#include "editing/commands.h"
#include "editing/name_checks.h"
#include "editing/prompts.h"

namespace plv::editing {
namespace {

// The checks of the new name; each refusal shows why.
bool acceptable(Editor& e, const UserRow& row, const std::string& name) {
    Session& s = e.session();
    // A LIST's name is the file's LIST's, whichever Program shows it.
    UserRow named = row.isList() ? s.catalogue.findFileList(row.name).value_or(row) : row;
    if (nameTakenByAnother(s.catalogue, named, name)) {
        s.ui.warning(name + " already exists", "Must delete first");
        return false;
    }
    return row.isList() ? checkListName(s, name) : checkCommandName(s, name);
}

} // namespace

Outcome Rename(Editor& e) {
    Operation op(e);
    if (Outcome ready = readyForCommand(e, op); ready != Outcome::Done) {
        return ready;
    }
    Session& s = e.session();
    BrowsingView::Shown shown = e.view().shown();
    auto row = shownRow(e);
    if (!row) {
        e.view().reset();
        return Outcome::Refused;
    }
    bool list = row->isList();
    auto answer = s.ui.input(std::string("Enter new ") + (list ? "LIST" : "command") + " name",
                             "Renaming", shown.name);
    if (!answer || answer->empty() || *answer == shown.name || !acceptable(e, *row, *answer)) {
        e.view().reset();
        return Outcome::Refused;
    }
    if (list && !listInUseCheck(e, row->name, "Rename")) {
        return Outcome::Refused;
    }
    if (!e.road().automaticBackup()) {
        return Outcome::Refused;
    }
    Outcome done = dat::UpdateFirstThings(s, *row, *answer, row->description, row->owner);
    if (done != Outcome::Done) {
        return done;
    }
    e.view().select(shown.program, shown.scope, *answer);
    e.view().recordRecentlyUsed(shown.program, shown.scope, *answer, row->type);
    e.showAfterRefresh(shown.tab);
    return e.road().postWrite();
}

} // namespace plv::editing
