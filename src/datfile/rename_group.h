#pragma once

#include "datfile/rewrite.h"

#include <string>

// The per-record substitution rewrites of the Tools dialog: a new Group or a new Program for
// the commands whose rows have `flag`. Both are one full rewrite (trace word "RenameGroup")
// that copies the LIST section unchanged. Texts are UTF-8.
namespace plv::dat {

// Whether a command of Group `rowGroup` (empty for "User-defined") takes the new Group when
// the Group chosen to rename is `oldGroup` ("All groups" for every Group).
bool groupIsRenamed(const std::string& rowGroup, const std::string& oldGroup);

// The flagged commands of `oldGroup` get `newGroup`; "User-defined" is written as the empty
// Group.
Outcome RenameGroup(Session& session, const std::string& oldGroup, const std::string& newGroup);

// The flagged application- and window-specific commands get `newProgram` as their
// application name; global commands have none to change.
Outcome RenameProgram(Session& session, const std::string& newProgram);

} // namespace plv::dat
