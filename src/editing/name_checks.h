#pragma once

#include "datfile/session.h"

#include <optional>
#include <string>

// The checks a new name passes before anything is written; each shows its refusal.
namespace plv::editing {

inline constexpr std::size_t kMaxListRefs = 20;

// A text the file's code page can hold: a description, a Group, a Program.
bool checkFileText(Session& session, const std::string& text);
// Why Dragon would refuse a command name or a LIST name found in a file, as the refusal
// says it; nothing when it would take it. The code page and the LISTs are checked apart.
std::optional<std::string> commandNameFault(const std::string& name);
std::optional<std::string> listNameFault(const std::string& name);

// A command name: not empty, written in the code page without control characters, every
// '<' closed by a '>', at most 20 LISTs, each of them a LIST of the file.
bool checkCommandName(Session& session, const std::string& name);
// A LIST name: not empty, only letters, digits and "_-." (the letters' case is free).
bool checkListName(Session& session, const std::string& name);
// Whether another row of the row's Program and Scope has the name; a row may take a new
// spelling of its own name.
bool nameTakenByAnother(const Catalogue& catalogue, const UserRow& row, const std::string& name);

} // namespace plv::editing
