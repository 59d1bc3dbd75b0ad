#pragma once

#include "datfile/session.h"

#include <cstddef>
#include <string>

// Export to .dat: the marked commands of the open command file, with every LIST they use,
// written into another command file that Dragon can import, either new or appended to. The
// open file is never changed, and the target only by one atomic replacement at the end: a
// refused or cancelled export leaves it exactly as it was.
namespace plv::dat {

inline constexpr const char* kExportToSelf = "Can't export to self";
inline constexpr const char* kExportToDragonsFile =
    "This is the command file Dragon has open for its current user, which only the editing "
    "road changes: export to another file and import that one into Dragon";
inline constexpr const char* kExportFolderMissing = "Folder does not exist";
inline constexpr const char* kAppendingDat = "Appending .dat to your filename";
inline constexpr const char* kTargetExistsTitle = "Choose action below";
inline constexpr const char* kTargetExists = "The Export file already exists:";
inline constexpr const char* kDuplicateTitle = "Overwrite?";
inline constexpr const char* kDifferentVersion =
    "Can't Append to different version --Check .dat file";
inline constexpr const char* kDifferentLanguage =
    "Can't Append to different language version --Check .dat file(s)  Properties";
inline constexpr const char* kListNotFound = "fatal Export not found LIST error";

// What to do with a target that exists, when it is known beforehand; Ask shows the
// "Choose action below" question.
enum class ExistingTarget { Ask, Append, Overwrite };
// The answer to every "Overwrite?" question, when it is known beforehand.
enum class DuplicateAnswers { Ask, YesToAll, NoToAll };

// The "Overwrite?" question for a command `target` has already: true when the command
// from `source` takes its place. `answers` gives or remembers an answer "to all"; `cancel`
// when the user cancelled.
bool takeDuplicate(UserInteraction& ui, DuplicateAnswers& answers, const std::string& target,
                   const std::string& name, const std::string& source, bool& cancel);

struct ExportDatRequest {
    std::string target;
    ExistingTarget existing = ExistingTarget::Ask;
    DuplicateAnswers duplicates = DuplicateAnswers::Ask;
};

struct ExportDatResult {
    bool exportDone = false; // the completion the Tools dialog reports
    std::string target;      // with ".dat" added when it was
    bool appended = false;
    std::size_t exported = 0;   // commands written
    std::size_t replaced = 0;   // commands of the target that exported ones replaced
    std::size_t kept = 0;       // exported commands left out because the target had them
    std::size_t listsAdded = 0; // LISTs written
};

// The checks before an export (not to the open file itself, into an existing folder, a
// name ending in .dat, what to do with an existing target), then ExportToDat on the rows
// marked with `flag` (LIST rows are never exported themselves; the LISTs that the commands
// use follow them). Messages and questions go through the session's interaction.
ExportDatResult exportToDat(Session& session, ExportDatRequest request);

} // namespace plv::dat
