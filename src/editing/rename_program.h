#pragma once

#include "catalogue/selection.h"
#include "editing/road.h"

#include <string>

namespace plv::editing {

inline constexpr const char* kNewProgramPlaceholder = "Enter new Program here";

// A Program name as Dragon stores it: without a trailing ".exe" (any letter case).
std::string programWithoutExe(const std::string& name);

// Gives the marked application- and window-specific commands the Program `newProgram`
// (shortened by programWithoutExe, which `newProgram` then holds). Refuses the placeholder
// text, and on the current Dragon user's open file the choices Everything and Current
// Group; takes the daily backup; leaves the status text "Renaming Program" when the file
// was rewritten.
dat::Outcome renameProgram(Road& road, std::string& newProgram, ScopeChoice choice);

} // namespace plv::editing
