// Convert to Plain Text: the shown KEYS command is edited as Plain Text; Save Changes writes
// the body and then the type.
#include "editing/commands.h"

namespace plv::editing {

void ConvertToPlainText(Editor& e) {
    if (e.state().editing || e.state().busy || !e.view().shown().exists ||
        e.view().shown().typeCode != "K") {
        return;
    }
    e.prepareConversion("P");
    e.enterEditMode(true);
}

} // namespace plv::editing
