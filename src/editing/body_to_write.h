#pragma once

#include "editing/road.h"

#include <optional>
#include <string>

namespace plv::editing {

inline constexpr const char* kEmptyContent = "Empty content not allowed";

// The body that a save writes for a command of `type`, whether it comes from the window's
// Save Changes or the terminal, checked before anything is written: not empty (a LIST not
// only blanks and empty lines), every character in the file's code page, the trailing line
// breaks made exactly one CR LF (KEYS and Plain Text bodies keep theirs as typed), and a
// SCRIPT body passed by Dragon's script check. Nothing, after the refusal's message
// ("Error in your script at line: " N for a script), when a check fails.
std::optional<std::string> bodyToWrite(Road& road, const std::string& type,
                                       const std::string& body);

} // namespace plv::editing
