#pragma once

#include "editing/road.h"

#include <optional>
#include <string>

namespace plv::editing {

// The body that a save writes for a command of `type`, whether it comes from the window's
// Save Changes or the terminal: the trailing line breaks made exactly one CR LF (KEYS and
// Plain Text bodies keep theirs as typed), and a SCRIPT body passed by Dragon's script
// check. Nothing, after "Error in your script at line: " N, when the check finds an error.
std::optional<std::string> bodyToWrite(Road& road, const std::string& type,
                                       const std::string& body);

} // namespace plv::editing
