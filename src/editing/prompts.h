#pragma once

#include "editing/editor.h"

#include <optional>
#include <string>

// The questions the Command menu asks before it prepares an edit or writes.
namespace plv::editing {

// "New Command": a name not yet used in the shown Program and Scope whose LISTs all exist;
// proposes "<list>" right after a new LIST was saved. Nothing when abandoned.
std::optional<std::string> askNewCommandName(Editor& editor);
// "New LIST": a name of letters, digits and "_-." not yet used. Nothing when abandoned.
std::optional<std::string> askNewListName(Editor& editor);
// Whether a new command can be made in the shown Program and Scope (a command there lends
// its application and window strings; the first global command is asked for).
bool positionCheck(Editor& editor);
// Whether the user goes on when commands use the LIST: `verb` is "Delete" or "Rename". The
// question is titled `title` (the window: the shown entry's name).
bool listInUseCheck(Session& session, const std::string& list, const std::string& verb,
                    const std::string& title);
bool listInUseCheck(Editor& editor, const std::string& list, const std::string& verb);
// The catalogue row of the shown entry: a command on the Commands tab, a LIST on the LISTs
// tab, either on the others.
std::optional<UserRow> shownRow(Editor& editor);

} // namespace plv::editing
