#include "editing/tools_menu.h"

#include "editing/convert_format.h"

namespace plv::editing {

Outcome readyForToolsDialog(Editor& e, const Operation& op, ToolsMode mode) {
    if (Outcome ready = readyForCommand(e, op); ready != Outcome::Done) {
        return ready;
    }
    if (mode == ToolsMode::DvcToVba &&
        !keysLanguageAllows(e.session(), KeysOperation::ToSendKeys)) {
        return Outcome::Refused;
    }
    return Outcome::Done;
}

Outcome afterToolsDialog(Editor& e, const ToolsDialog& dialog) {
    Session& s = e.session();
    if (dialog.changedElsewhere()) {
        s.ui.status("");
        return e.road().reread();
    }
    if (dialog.mode() == ToolsMode::Export) {
        s.ui.status("");
        return Outcome::Done;
    }
    if (dialog.fileWritten()) {
        s.ui.status("");
        return e.road().postWrite();
    }
    return Outcome::Done;
}

Outcome ConvertFormat(Editor& e, const dat::FormatConversion& conversion) {
    Operation op(e);
    if (Outcome ready = readyForCommand(e, op); ready != Outcome::Done) {
        return ready;
    }
    Session& s = e.session();
    Outcome done = convertFormat(e.road(), conversion);
    if (done != Outcome::Done) {
        return done;
    }
    s.ui.status("");
    s.ui.message(conversion.done, s.file.path);
    return e.road().refresh();
}

Outcome ConvertLanguage(Editor& e, const std::function<bool(LanguageConversion&)>& show) {
    Operation op(e);
    if (Outcome ready = readyForCommand(e, op); ready != Outcome::Done) {
        return ready;
    }
    LanguageConversion conversion(e.road());
    if (!conversion.open() || !show(conversion)) {
        return Outcome::Refused;
    }
    return e.road().reread();
}

} // namespace plv::editing
