#pragma once

#include "editing/editor.h"

#include <string>

// The editing commands of the window: Modify, Abandon and Save Changes, the Command menu
// ("&Pro") and Restore. Each lives in a file of its own and supplies only its checks,
// questions and write; the road does the rest.
namespace plv::editing {

// save_changes.cpp
void Modify(Editor& editor);
void Abandon(Editor& editor);
Outcome SaveChanges(Editor& editor);

// leave_edit.cpp: whether the edit holds anything Save Changes would write.
bool hasUnsavedChanges(const EditState& state);
// Before the window closes or another file or user takes the open file's place, and on
// Escape in edit mode: an edit with changes asks "Save Changes / Abandon / Cancel". Done when no
// edit is left (saved or abandoned), Refused when the user cancelled or the save did not go
// through.
Outcome LeaveEdit(Editor& editor);

// new_command.cpp: type "K", "S", "P" or "A".
Outcome NewCommand(Editor& editor, const std::string& type);
// new_list.cpp
Outcome NewList(Editor& editor);
// clone.cpp
Outcome Clone(Editor& editor);
// delete.cpp
Outcome Delete(Editor& editor);
// rename.cpp
Outcome Rename(Editor& editor);
// convert_to_plain.cpp, convert_to_advanced.cpp
void ConvertToPlainText(Editor& editor);
Outcome ConvertToAdvancedScripting(Editor& editor);
// debug_with_basic.cpp
Outcome DebugWithBasic(Editor& editor);
// restore_command.cpp: an entry of the Restore menu ("mycmds.mmddyyyy").
Outcome Restore(Editor& editor, const std::string& entry);
// The same once the user has seen what it changes and chosen Restore: nothing more is asked.
Outcome RestoreSeen(Editor& editor, const std::string& entry);

} // namespace plv::editing
