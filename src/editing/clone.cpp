// Clone: a new command or LIST with the shown one's body, type, description and Group,
// under a new name; Save Changes writes it.
#include "editing/commands.h"
#include "editing/prompts.h"

namespace plv::editing {

Outcome Clone(Editor& e) {
    Operation op(e, true); // a clone of a command may be the one that uses the new LIST
    if (Outcome ready = readyForCommand(e, op); ready != Outcome::Done) {
        return ready;
    }
    BrowsingView::Shown shown = e.view().shown();
    const std::string& type = shown.typeCode;
    if (!shown.exists ||
        !(type == "K" || type == "S" || type == "A" || type == "P" || type == "L")) {
        return Outcome::Refused;
    }
    if (auto row = shownRow(e); row && row->encrypted) {
        e.session().ui.warning(dat::kEncryptedMessage, e.session().file.path);
        return Outcome::Refused;
    }
    bool list = type == "L";
    auto name = list ? askNewListName(e) : askNewCommandName(e);
    if (!name || (!list && !positionCheck(e))) {
        return Outcome::Refused;
    }
    e.loadShown();
    e.prepareNew(*name, type, {shown.tab, *name, shown.tab >= kRecentlyCreatedTab});
    e.enterEditMode(true);
    return Outcome::Done;
}

} // namespace plv::editing
