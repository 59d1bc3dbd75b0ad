#pragma once

#include "catalogue/selection.h"
#include "cli/cli.h"
#include "datfile/export_dat.h"

#include <memory>
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
// The commands (no LISTs) the options choose in FILE, the first argument, marked in a
// catalogue in memory: what the exports to another command file start from. Nothing, with
// `status` set after a message, when the options do not fit or the file does not read.
std::unique_ptr<Workspace> chosenCommands(const Args& args, Io& io, const std::string& command,
                                          int& status);

// --append and --overwrite, and --yes-to-all and --no-to-all, exclude each other: false
// after the usage message when both of a pair are given.
bool targetOptionsFit(const Args& args, Io& io, const std::string& command);
// The answer --yes-to-all or --no-to-all gives to every "Overwrite?" question, else Ask.
dat::DuplicateAnswers duplicateAnswers(const Args& args);

} // namespace plv::cli
