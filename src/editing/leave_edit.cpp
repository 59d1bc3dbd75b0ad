// Leaving an edit with changes: Save Changes, Abandon or Cancel, asked once.
#include "editing/commands.h"

namespace plv::editing {
namespace {

enum Answer : std::size_t { kSave, kAbandon, kCancel };

std::string editedName(Editor& e) {
    const EditState& st = e.state();
    return st.newPending ? st.pendingName : e.view().shown().name;
}

} // namespace

bool hasUnsavedChanges(const EditState& st) {
    return st.editing && (st.newPending || st.convertToPlain || st.convertToAdvanced ||
                          st.body != st.initialBody || st.description != st.initialDescription ||
                          st.group != st.initialGroup);
}

Outcome LeaveEdit(Editor& e) {
    EditState& st = e.state();
    if (!st.editing) {
        return Outcome::Done;
    }
    if (st.busy) {
        return Outcome::Refused;
    }
    if (!hasUnsavedChanges(st)) {
        Abandon(e);
        return Outcome::Done;
    }
    std::size_t answer =
        e.session().ui.choice("The changes to \"" + editedName(e) + "\" are not saved.",
                              "Parlavista", {"&Save Changes", "&Abandon", "&Cancel"}, kCancel);
    if (answer == kAbandon) {
        Abandon(e);
        return Outcome::Done;
    }
    if (answer != kSave) {
        return Outcome::Refused;
    }
    Outcome done = SaveChanges(e);
    if (done == Outcome::ProgramEnds) {
        return done;
    }
    return st.editing ? Outcome::Refused : Outcome::Done;
}

} // namespace plv::editing
