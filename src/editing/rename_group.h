#pragma once

#include "datfile/rewrite.h"

#include <string>

namespace plv::editing {

inline constexpr const char* kNewGroupPlaceholder = "Enter new Group here";

// Gives the marked commands of `oldGroup` ("All groups" for every Group, "User-defined" for
// the empty one) the Group `newGroup`. Refuses the placeholder text; leaves the status text
// "Renaming Group" when the file was rewritten.
dat::Outcome renameGroup(Session& session, const std::string& oldGroup,
                         const std::string& newGroup);

} // namespace plv::editing
