#pragma once

#include "datfile/export_dat.h"
#include "datfile/record.h"
#include "editing/editor.h"
#include "editing/road.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Import Dragon XML: the commands and LISTs of a Dragon XML file into a command file, a new
// 10/11 file in the XML's language, or the open file along the editing road (the checks of
// Export to .dat, the daily backup, one rewrite, the verification, Dragon's take-over).
// A command that cannot be imported is reported with its name and line and skipped; the
// target is written whole or not at all.
namespace plv::editing {

inline constexpr const char* kXmlUnreadable = "The Dragon XML file cannot be read";
inline constexpr const char* kNothingToImport = "The Dragon XML file holds no command to import";
inline constexpr const char* kImportSkippedTitle = "Not imported";

// What the XML file gives, converted to 10/11 records; `refusals` says which commands were
// left out and why ("Line 12, Replace [text]: ...").
struct ImportPlan {
    std::string path;
    int languageByte = 9;
    std::vector<dat::CommandRecord> commands;
    std::vector<int> lines; // of each command
    std::vector<dat::ListRecord> lists;
    std::vector<std::string> refusals;
};

struct ImportXmlResult {
    bool done = false;
    std::size_t imported = 0;
    std::size_t replaced = 0; // commands of the target that imported ones replaced
    std::size_t kept = 0;     // imported commands left out because the target had them
    std::size_t listsAdded = 0;
    std::vector<std::string> refusals;
};

// Reads and converts the XML file; nothing after a message (with the line) when it does not
// read.
std::optional<ImportPlan> readImport(UserInteraction& ui, const std::string& xmlPath);

// The new command file `target` (which must not exist) with the plan's commands and LISTs;
// a command the XML holds twice meets the "Overwrite?" answer.
ImportXmlResult importIntoNewFile(UserInteraction& ui, const ImportPlan& plan,
                                  const std::string& target,
                                  dat::DuplicateAnswers duplicates = dat::DuplicateAnswers::Ask);

// The plan's commands and LISTs added to the open file: same version and language only; a
// command the file has already (with the skip bit too, or imported before it) is replaced or
// kept by the "Overwrite?" answer; a LIST the file has already stays as it is. The caller
// runs the post-write step when Done.
dat::Outcome importIntoOpenFile(Road& road, const ImportPlan& plan,
                                dat::DuplicateAnswers duplicates, ImportXmlResult& result);

// The refusals as one message, when there are any.
void reportRefusals(UserInteraction& ui, const ImportXmlResult& result);

inline constexpr const char* kImportDone = "Import Completed";

// File > "Import Dragon XML..." on the open file: the checks of every command, the import,
// the refusals and "Import Completed", then the post-write step.
Outcome ImportXml(Editor& editor, const std::string& xmlPath);

} // namespace plv::editing
