// Convert to Advanced Scripting: the shown KEYS body becomes SendKeys statements in the body
// editor; Save Changes writes the body and then the type.
#include "editing/commands.h"
#include "editing/keys_conversion.h"
#include "platform/codepage.h"

namespace plv::editing {

Outcome ConvertToAdvancedScripting(Editor& e) {
    BrowsingView::Shown shown = e.view().shown();
    if (e.state().editing || e.state().busy || !shown.exists || shown.typeCode != "K") {
        return Outcome::Refused;
    }
    Session& s = e.session();
    // The converter counts the literals' lengths in file bytes.
    Cp1252Text bytes = encodeCp1252(shown.body);
    if (!bytes.ok()) {
        s.ui.warning(refusedCharacterMessage(bytes.refused), s.file.path);
        return Outcome::Refused;
    }
    KeysConversion converted = toSendKeys(bytes.bytes);
    if (!converted.ok) {
        s.ui.warning(" Conversion failed", "Please send to Brinmoor");
        return Outcome::Refused;
    }
    e.prepareConversion("A");
    e.state().body = decodeCp1252(converted.body);
    e.enterEditMode(true);
    return Outcome::Done;
}

} // namespace plv::editing
