// New legacy KEYS, New legacy SCRIPT, New Plain Text, New Advanced Scripting: a command of
// that type in the shown Program and Scope, edited and then written by Save Changes.
#include "editing/commands.h"
#include "editing/prompts.h"

namespace plv::editing {
namespace {

constexpr const char* kAdvancedTemplate = "Sub Main\r\n\r\nEnd Sub";
constexpr std::size_t kTemplateEmptyLine = 10;

} // namespace

Outcome NewCommand(Editor& e, const std::string& type) {
    Operation op(e, true);
    if (Outcome ready = readyForCommand(e, op); ready != Outcome::Done) {
        return ready;
    }
    e.view().showTab(kCommandsTab);
    auto name = askNewCommandName(e);
    if (!name || !positionCheck(e)) {
        return Outcome::Refused;
    }
    e.prepareNew(*name, type, {kCommandsTab, *name, false});
    if (type == "A") {
        e.state().body = kAdvancedTemplate;
        e.state().caret = kTemplateEmptyLine;
    }
    e.enterEditMode(true);
    return Outcome::Done;
}

} // namespace plv::editing
