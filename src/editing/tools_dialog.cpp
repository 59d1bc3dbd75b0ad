#include "editing/tools_dialog.h"

#include "datfile/export_dat.h"
#include "editing/ask_before_writing.h"
#include "editing/convert_keys.h"
#include "editing/delete_commands.h"
#include "editing/rename_group.h"
#include "editing/rename_program.h"
#include "platform/files.h"

#include <algorithm>

namespace plv::editing {
namespace {

constexpr const char* kTitle = "Parlavista";
constexpr std::size_t kChoices = 5;

std::size_t indexOf(ScopeChoice choice) {
    return static_cast<std::size_t>(choice);
}

// A name as part of a file name: a LIST reference's brackets become square ones, and a
// folder separator cannot stand in it.
std::string fileNamePart(std::string name) {
    for (char& c : name) {
        if (c == '<') {
            c = '[';
        } else if (c == '>') {
            c = ']';
        } else if (c == '/' || c == '\\') {
            c = '-';
        }
    }
    return name;
}

std::optional<KeysOperation> keysOperationOf(ToolsMode mode) {
    switch (mode) {
    case ToolsMode::DvcToPlain:
        return KeysOperation::ToPlainText;
    case ToolsMode::DvcToVba:
        return KeysOperation::ToSendKeys;
    case ToolsMode::DvcToSdk:
        return KeysOperation::ToSendDragonKeys;
    default:
        return std::nullopt;
    }
}

} // namespace

const ToolsModeTexts& toolsModeTexts(ToolsMode mode) {
    for (const auto& t : kToolsModes) {
        if (t.mode == mode) {
            return t;
        }
    }
    return kToolsModes[0];
}

std::optional<ToolsMode> toolsModeFromOperation(const std::string& operation) {
    for (const auto& t : kToolsModes) {
        if (operation == t.operation) {
            return t.mode;
        }
    }
    return std::nullopt;
}

std::string countText(std::int64_t count) {
    std::string digits = std::to_string(count);
    return digits.size() >= 5 ? digits : std::string(5 - digits.size(), ' ') + digits;
}

ToolsDialog::ToolsDialog(Road& road, ToolsMode mode, WindowSelection window)
    : road_(road), s_(road.session()), mode_(mode), window_(std::move(window)),
      counts_(kChoices, 0), search_(road.session()) {
    // The day's backup once a replacement is ready to be written, not when a search starts:
    // a search that finds nothing, or texts the file cannot hold, leave every file alone.
    search_.beforeWrite = [this] { return road_.automaticBackup(); };
    for (const auto& row : s_.catalogue.rowsOf(window_.program, window_.scope)) {
        if (!row.isList() && !row.type.empty() &&
            window_.types.find(row.type) != std::string::npos) {
            pickList_.push_back(row.name);
        }
    }
    for (auto choice :
         {ScopeChoice::Everything, ScopeChoice::Group, ScopeChoice::Program, ScopeChoice::Scope}) {
        choice_ = choice;
        counts_[indexOf(choice)] = markSelection(s_.catalogue, selection());
    }
    s_.catalogue.setFlagAll(false);
    exportFolder_ = s_.catalogue.parameter("exportPath").value_or("");
    if (exportFolder_.empty()) {
        exportFolder_ = s_.programFolder;
    }
    bool commandShown =
        std::find(pickList_.begin(), pickList_.end(), window_.commandName) != pickList_.end();
    choose(commandShown ? ScopeChoice::Picked : ScopeChoice::Scope);
    if (mode_ != ToolsMode::Export) {
        text_ = texts().initialText;
    }
}

std::string ToolsDialog::heading() const {
    if (mode_ != ToolsMode::RenameGroup) {
        return {};
    }
    return window_.group == kAllGroupsName ? "Rename the Group of the chosen commands to:"
                                           : "Rename Group " + window_.group + " to:";
}

ToolsDialog::~ToolsDialog() {
    s_.catalogue.setFlagAll(false);
}

std::int64_t ToolsDialog::count(ScopeChoice choice) const {
    if (choice == ScopeChoice::Picked) {
        return static_cast<std::int64_t>(picked_.size());
    }
    return counts_[indexOf(choice)];
}

Selection ToolsDialog::selection() const {
    Selection sel;
    sel.choice = choice_;
    sel.program = window_.program;
    sel.scope = window_.scope;
    sel.group = window_.group;
    sel.picked = picked_;
    sel.types = window_.types;
    sel.commandsOnly = true;
    return sel;
}

std::string ToolsDialog::proposedFileName() const {
    std::string name;
    switch (choice_) {
    case ScopeChoice::Everything:
        name = "global";
        break;
    case ScopeChoice::Group:
        name = window_.group;
        break;
    case ScopeChoice::Program:
        name = window_.program;
        break;
    case ScopeChoice::Scope:
        name = window_.scope;
        break;
    case ScopeChoice::Picked:
        // The window's command names the file only when the list has it to preselect.
        name = std::find(pickList_.begin(), pickList_.end(), window_.commandName) != pickList_.end()
                   ? window_.commandName
                   : "selected";
        break;
    }
    return files::join(exportFolder_, fileNamePart(name) + ".dat");
}

void ToolsDialog::choose(ScopeChoice choice) {
    choice_ = choice;
    if (choice == ScopeChoice::Picked) {
        std::vector<std::string> preselected;
        for (const auto& name : pickList_) {
            if (name == window_.commandName) {
                preselected.push_back(name);
            }
        }
        setPicked(preselected);
    }
    if (mode_ == ToolsMode::Export && !fileNameGiven_) {
        text_ = proposedFileName();
    }
}

void ToolsDialog::setPicked(std::vector<std::string> names) {
    picked_ = std::move(names);
}

void ToolsDialog::typeText(const std::string& text) {
    text_ = text;
    fileNameGiven_ = true;
}

bool ToolsDialog::markChosen() {
    if (choice_ == ScopeChoice::Picked && picked_.empty()) {
        s_.ui.warning(kNothingSelected, kTitle);
        return false;
    }
    markSelection(s_.catalogue, selection());
    if (mode_ == ToolsMode::Replace) {
        keepSearchableMarks(s_.catalogue);
    }
    if (markedCommands(s_.catalogue) == 0) {
        s_.ui.warning(kNoMacros, kNoMacrosTitle);
        return false;
    }
    return true;
}

void ToolsDialog::wrote(dat::Outcome outcome) {
    if (outcome == dat::Outcome::Done) {
        fileWritten_ = true;
    }
}

// The dialog's own replacements change the file too; any other change means the marks and
// positions describe a file that is gone, also after a replacement of its own.
bool ToolsDialog::refuseChangedFile() {
    bool changed = search_.modified() ? road_.isCurrentUserFile() && search_.changedSinceWritten()
                                      : road_.fileChanged();
    if (!changed) {
        return false;
    }
    s_.ui.warning(kModifiedMessage, s_.file.path);
    s_.ui.status(kModifiedStatus);
    changedElsewhere_ = true;
    return true;
}

ToolsDialog::After ToolsDialog::mainButton() {
    if (refuseChangedFile()) {
        return After::Closes;
    }
    if (!markChosen()) {
        return After::StaysOpen;
    }
    return runMode();
}

// The question that the operation asks before it writes, with what it is about to change.
std::string ToolsDialog::writeQuestion() const {
    std::string of = " of " + openFileName(s_);
    std::string commands = commandsAndLists(markedCommands(s_.catalogue), 0);
    switch (mode_) {
    case ToolsMode::Delete:
        return "Delete " +
               commandsAndLists(markedCommands(s_.catalogue), listsGoingWithMarked(s_.catalogue)) +
               " from " + openFileName(s_) + "?";
    case ToolsMode::RenameGroup:
        if (window_.group == kAllGroupsName) {
            return "Rename the Group of " + commands + of + " to " + text_ + "?";
        }
        return "Rename Group " + window_.group + " to " + text_ + " in " + commands + of + "?";
    case ToolsMode::RenameProgram:
        return "Rename the Program of " + commands + of + " to " + text_ + "?";
    case ToolsMode::Replace:
        return "Replace every \"" + text_ + "\" with \"" + replaceText + "\" in " + commands + of +
               "?";
    case ToolsMode::DvcToPlain:
    case ToolsMode::DvcToVba:
    case ToolsMode::DvcToSdk: {
        // "Convert DVC to Plain Text" names the target after its first 12 characters.
        std::int64_t keys = markedCommands(s_.catalogue, "K");
        return "Convert " + groupedNumber(keys) + (keys == 1 ? " KEYS command" : " KEYS commands") +
               of + std::string(texts().title).substr(12) + "?";
    }
    case ToolsMode::Export:
        break;
    }
    return {};
}

// Runs one button's operation with its question before the write: answered No, the
// dialog stays open on the same choice and nothing is written.
ToolsDialog::After ToolsDialog::asking(const std::function<After()>& run) {
    bool asked = false;
    declined_ = false;
    road_.askBeforeWriting = [this, &asked] {
        if (!asked) {
            asked = true;
            declined_ = !askBeforeWriting(s_, writeQuestion());
        }
        return !declined_;
    };
    After after = run();
    road_.askBeforeWriting = nullptr;
    if (declined_) {
        s_.ui.status("");
        return After::StaysOpen;
    }
    return after;
}

ToolsDialog::After ToolsDialog::runMode() {
    if (mode_ == ToolsMode::Export || mode_ == ToolsMode::Replace) {
        return runModeUnasked();
    }
    return asking([this] { return runModeUnasked(); });
}

ToolsDialog::After ToolsDialog::runModeUnasked() {
    switch (mode_) {
    case ToolsMode::RenameGroup: {
        dat::Outcome done = renameGroup(road_, window_.group, text_);
        wrote(done);
        if (done == dat::Outcome::Done) {
            newGroup_ = text_;
        }
        return done == dat::Outcome::Done ? After::Closes : After::StaysOpen;
    }
    case ToolsMode::RenameProgram: {
        dat::Outcome done = renameProgram(road_, text_, choice_);
        wrote(done);
        return done == dat::Outcome::Done ? After::Closes : After::StaysOpen;
    }
    case ToolsMode::Delete: {
        dat::Outcome done = deleteMarked(road_);
        wrote(done);
        groupReset_ = done == dat::Outcome::Done && choice_ == ScopeChoice::Group;
        return After::Closes;
    }
    case ToolsMode::Replace:
        searchStarted_ = true;
        search_.setTexts(text_, replaceText, matchCase);
        search_.findNext();
        return After::StaysOpen;
    case ToolsMode::Export:
        exportMarked();
        return After::Closes;
    case ToolsMode::DvcToPlain:
    case ToolsMode::DvcToVba:
    case ToolsMode::DvcToSdk: {
        KeysTally tally;
        wrote(runKeysConversion(road_, *keysOperationOf(mode_), tally));
        return After::Closes;
    }
    }
    return After::Closes;
}

// The export's own checks and questions (the ending, an existing target, commands it has
// already) come first; only a finished export is reported, and may be opened.
void ToolsDialog::exportMarked() {
    // A bare file name goes into the export folder, not wherever the program was started.
    dat::ExportDatRequest request;
    request.target = files::parentFolder(text_).empty() ? files::join(exportFolder_, text_) : text_;
    dat::ExportDatResult result = dat::exportToDat(s_, request);
    if (!result.exportDone) {
        return;
    }
    s_.ui.message(std::string(kExportCompleted) + ": " + result.target, text_);
    if (s_.ui.yesNo(kOpenExported, result.target)) {
        fileToOpen_ = result.target;
    }
}

ToolsDialog::After ToolsDialog::replaceButton() {
    return replacing(&SearchReplace::replace);
}

ToolsDialog::After ToolsDialog::replaceAllButton() {
    return asking([this] { return replacing(&SearchReplace::replaceAll); });
}

// Replace and Replace All go on with the search the main button started, or start it.
ToolsDialog::After ToolsDialog::replacing(dat::Outcome (SearchReplace::*action)()) {
    if (refuseChangedFile()) {
        return After::Closes;
    }
    if (!searchStarted_) {
        if (!markChosen()) {
            return After::StaysOpen;
        }
        searchStarted_ = true;
    }
    search_.setTexts(text_, replaceText, matchCase);
    (search_.*action)();
    return After::StaysOpen;
}

} // namespace plv::editing
