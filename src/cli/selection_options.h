#pragma once

#include "catalogue/selection.h"
#include "cli/cli.h"

#include <optional>
#include <set>
#include <string>

namespace plv::cli {

// The options that choose rows, shared by the commands that act on many: --program P,
// --scope S (with --program), --group G, --name N (with --program and --scope, repeatable)
// and --types LETTERS.
inline const std::set<std::string> kSelectionOptions = {"program", "scope", "group", "name",
                                                        "types"};

// The narrowest choice the options name: the picked names, else the Scope, else the
// Program, else the Group, else everything. A Group given with a Program or Scope narrows
// it further. Prints a usage message and returns nothing when the options do not fit.
std::optional<Selection> selectionFromArgs(const Args& args, Io& io, const std::string& command);

// Marks the selection's rows; a Group given beside a narrower choice unmarks the rows of
// other Groups. Returns the number marked.
std::int64_t markFromArgs(Catalogue& catalogue, const Selection& selection);

class Workspace;
// Parses the file and marks the chosen rows; 0, or the exit status after a message.
int markChosen(Workspace& w, const std::string& file, const Selection& selection);

} // namespace plv::cli
