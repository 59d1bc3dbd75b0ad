#pragma once

#include "datfile/session.h"

#include <cstdint>
#include <string>

// The one question an operation on many commands asks before it writes: what it will do,
// to how many commands and LISTs, of which file. Enter answers No, so a key pressed once
// never rewrites a whole file.
namespace plv::editing {

// 1318 -> "1,318".
std::string groupedNumber(std::int64_t number);
// "1,318 commands and 160 LISTs", "1 command" (no LISTs left unsaid).
std::string commandsAndLists(std::int64_t commands, std::int64_t lists);
// The open file's name without its folders, as a question names it.
std::string openFileName(const Session& session);
// The commands marked with `flag` (LIST rows are never marked themselves), of one type
// letter when `type` is given.
std::int64_t markedCommands(const Catalogue& catalogue, const std::string& type = {});
// The file's LISTs that go with the marked commands: used by one of them and by no other.
std::int64_t listsGoingWithMarked(const Catalogue& catalogue);

// true for Yes; the question is titled with the open file.
bool askBeforeWriting(Session& session, const std::string& question);

} // namespace plv::editing
