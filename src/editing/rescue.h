#pragma once

#include "datfile/salvage.h"
#include "platform/interaction.h"

#include <optional>
#include <string>

// Rescue what can be read: the records of a damaged command file that still read, written
// to a new command file. The damaged file itself is never written.
namespace plv::editing {

inline constexpr const char* kRescueTitle = "Rescue what can be read";

// What becomes of a rescued copy's name that is taken: refused, asked, or replaced.
enum class ExistingCopy { Refuse, Ask, Replace };

// The rescued copy beside the damaged file: "mycmds.dat" gives "mycmds.rescued.dat".
std::string rescuedCopyPath(const std::string& damaged);

// Writes the rescued copy of `damaged` to `copy`. Nothing, after a message, when the damaged
// file is missing or no command file, the copy would take its place or an existing file's
// that may not be replaced, or the copy cannot be written.
std::optional<dat::Salvage> rescueFile(UserInteraction& ui, const std::string& damaged,
                                       const std::string& copy, ExistingCopy existing);

// The window's offer for a damaged file the user opened: the copy is written beside it and
// the user is told what was kept and lost. The copy's path, or nothing.
std::optional<std::string> rescueBeside(UserInteraction& ui, const std::string& damaged);

} // namespace plv::editing
