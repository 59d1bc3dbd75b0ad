#pragma once

#include "catalogue/catalogue.h"

#include <cstdint>
#include <string>
#include <vector>

// Which rows a many-command operation or an export acts on: the scope choice of the Export
// and Tools dialogs (and of the terminal's --program/--scope/--group/--name options), then
// the type view. The chosen rows are marked with `flag`.
namespace plv {

inline constexpr const char* kAllGroupsName = "All groups";
inline constexpr const char* kAllTypeLetters = "KSLTPRXA";

enum class ScopeChoice { Everything, Group, Program, Scope, Picked };

struct Selection {
    ScopeChoice choice = ScopeChoice::Everything;
    std::string program;                 // the current Program
    std::string scope;                   // the current Scope
    std::string group = kAllGroupsName;  // the current Group
    std::vector<std::string> picked;     // Picked: names of the current Program and Scope
    std::string types = kAllTypeLetters; // the type letters the view shows
    bool commandsOnly = false;           // LIST rows are never marked (Tools dialog)
};

// Clears every mark, marks the chosen rows, unmarks those of types the view does not show
// and every second mark of one LIST (a catalogue-only copy), and returns how many stay
// marked. Texts are bound, never pasted into SQL.
std::int64_t markSelection(Catalogue& catalogue, const Selection& selection);

// The type letters among `letters` (any case) in the order of kAllTypeLetters; empty when a
// letter is not a type letter.
std::string typeLetters(const std::string& letters);

} // namespace plv
