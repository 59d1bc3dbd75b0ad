// New LIST: a global LIST whose items are typed into the body; Save Changes writes it and
// then asks for the command that uses it.
#include "editing/commands.h"
#include "editing/prompts.h"

namespace plv::editing {

Outcome NewList(Editor& e) {
    Operation op(e);
    if (Outcome ready = readyForCommand(e, op); ready != Outcome::Done) {
        return ready;
    }
    auto name = askNewListName(e);
    if (!name) {
        return Outcome::Refused;
    }
    e.view().showTab(kListsTab);
    e.view().select(kGlobalCommands, kGlobalCommands, *name);
    e.prepareNew(*name, "L", {kListsTab, *name, false});
    e.enterEditMode(true);
    return Outcome::Done;
}

} // namespace plv::editing
