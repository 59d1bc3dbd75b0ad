#pragma once

#include "browser/browser.h"
#include "datfile/compare.h"

#include <optional>
#include <string>
#include <vector>

// The window's lists of differences (Compare with..., the Restore preview) and of problems
// (View > Problems): a line for each entry, and the command or LIST each line opens.
namespace plv::browser {

struct EntryLine {
    std::string text;
    std::string program; // "Global Commands" for a LIST
    std::string scope;
    std::string name;
    bool list = false;
};

// The words of the two kinds of entry found in one file only, as the list says them.
struct ChangeWords {
    std::string onlyInSecond = "added";
    std::string onlyInFirst = "removed";
};

// A line for each command and LIST changed: "changed: WINWORD / Global Commands / "bold
// that" (body, description)", "added LIST: "colours"".
std::vector<EntryLine> differenceLines(const dat::Comparison& comparison,
                                       const ChangeWords& words = {});

// The open command file compared with `other` (the open file first). Nothing, after the
// message, when either does not read.
std::optional<dat::Comparison> compareOpenFileWith(Session& session, const std::string& other);

// A line for each problem lint finds in the open file; nothing, after the message, when the
// file does not read.
std::optional<std::vector<EntryLine>> openFileProblems(Session& session,
                                                       dragon::VoiceCommands* voice);

// Shows the line's command or LIST in the lists, as Find shows a hit; false when the open
// file has none of that name.
bool showLine(Browser& browser, const EntryLine& line);

} // namespace plv::browser
