#pragma once

#include "editing/road.h"

#include <string>

namespace plv::editing {

inline constexpr const char* kNewGroupPlaceholder = "Enter new Group here";

// Gives the marked commands of `oldGroup` ("All groups" for every Group, "User-defined" for
// the empty one) the Group `newGroup`. Refuses the placeholder text; takes the daily backup;
// leaves the status text "Renaming Group" when the file was rewritten.
dat::Outcome renameGroup(Road& road, const std::string& oldGroup, const std::string& newGroup);

} // namespace plv::editing
