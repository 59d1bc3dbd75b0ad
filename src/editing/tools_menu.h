#pragma once

#include "datfile/convert_format.h"
#include "editing/convert_keys.h"
#include "editing/convert_language.h"
#include "editing/editor.h"
#include "editing/tools_dialog.h"

#include <functional>

// The Tools menu's entries: the checks before each operation and, after one that wrote the
// file, the post-write step that has Dragon take the file over and the window show it.
namespace plv::editing {

// Before the Tools dialog opens: no body being edited, the catalogue read again when the
// file changed elsewhere; the conversion to SendKeys only for an English file.
Outcome readyForToolsDialog(Editor& editor, const Operation& operation, ToolsMode mode);

// After it has closed: an export changed nothing here; a dialog that wrote the file ends with
// the post-write step; one that found the file changed elsewhere reads it again.
Outcome afterToolsDialog(Editor& editor, const ToolsDialog& dialog);

// "&Convert to 6.0" ... "Convert to &8/9": the conversion, then "File converted to ..." and
// the file read afresh (a result that does not read brings "savedat" back).
Outcome ConvertFormat(Editor& editor, const dat::FormatConversion& conversion);

// "Convert &Language...": `show` runs the dialog until it closes and answers whether the
// language byte was written; the file is then read afresh.
Outcome ConvertLanguage(Editor& editor, const std::function<bool(LanguageConversion&)>& show);

} // namespace plv::editing
