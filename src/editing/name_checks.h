#pragma once

#include "datfile/name_rules.h"
#include "datfile/session.h"

#include <optional>
#include <string>

// The checks a new name passes before anything is written; each shows its refusal.
namespace plv::editing {

using dat::kMaxListRefs;

// A text the file's code page can hold: a description, a Group, a Program.
bool checkFileText(Session& session, const std::string& text);
using dat::commandNameFault;
using dat::listNameFault;

// A command name: not empty, written in the code page without control characters, every
// '<' closed by a '>', at most 20 LISTs, each of them a LIST of the file.
bool checkCommandName(Session& session, const std::string& name);
// A LIST name: not empty, only letters, digits and "_-." (the letters' case is free).
bool checkListName(Session& session, const std::string& name);
// Whether another row of the row's Program and Scope has the name; a row may take a new
// spelling of its own name.
bool nameTakenByAnother(const Catalogue& catalogue, const UserRow& row, const std::string& name);

} // namespace plv::editing
