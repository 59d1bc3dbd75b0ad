#pragma once

#include "catalogue/selection.h"
#include "editing/road.h"
#include "editing/search_replace.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The Tools dialog without widgets: one dialog for the eight Tools operations that act on a
// chosen set of commands. It counts what each scope choice covers, keeps the Pick and Choose
// list, proposes the export file name, marks the chosen commands with `flag` and runs the
// mode's operation. Closing it clears every mark.
namespace plv::editing {

enum class ToolsMode {
    Export,
    RenameGroup,
    RenameProgram,
    Delete,
    Replace,
    DvcToPlain,
    DvcToVba,
    DvcToSdk
};

struct ToolsModeTexts {
    ToolsMode mode;
    const char* operation; // the operation name the Tools menu entry sets
    const char* title;
    const char* mainButton;
    const char* label;       // of the mode's text field; empty when it has none
    const char* initialText; // of that field (Export: the proposed file name instead)
};

inline constexpr std::array<ToolsModeTexts, 8> kToolsModes = {{
    {ToolsMode::Export, "dat", "Export to .dat", "Export", "&Filename:", ""},
    {ToolsMode::RenameGroup, "group", "Rename Group", "Rename Group", "&New Group Name",
     "Enter new Group here"},
    {ToolsMode::RenameProgram, "program", "Rename Program", "Rename Program", "&New Program Name",
     "Enter new Program here"},
    {ToolsMode::Delete, "delete", "Delete", "Delete", "", ""},
    {ToolsMode::Replace, "replace", "Search/Replace", "Search", "Search &for", ""},
    {ToolsMode::DvcToPlain, "dvc2plain", "Convert DVC to Plain Text", "Convert", "", ""},
    {ToolsMode::DvcToVba, "dvc2vba", "Convert DVC to Advanced Scripting w/SendKeys", "Convert", "",
     ""},
    {ToolsMode::DvcToSdk, "dvc2sdk", "Convert DVC to Advanced Scripting w/SendDragonKeys",
     "Convert", "", ""},
}};

const ToolsModeTexts& toolsModeTexts(ToolsMode mode);
std::optional<ToolsMode> toolsModeFromOperation(const std::string& operation);

inline constexpr const char* kNothingSelected = "Nothing is selected to act on";
inline constexpr const char* kNoMacros = "There are no macros of the specified type to Export";
inline constexpr const char* kNoMacrosTitle = "Change Program, Scope, or Type of Export";
inline constexpr const char* kModifiedStatus = "CBModified";
inline constexpr const char* kModifiedMessage =
    "You have modified this file (most likely with Razudid Udiridu) after this operation has "
    "started. You must restart the operation,\notherwise a corrupted file may result";
inline constexpr const char* kExportCompleted = "Export Operation Completed";
inline constexpr const char* kOpenExported = "Would you like to Open this Exported file?:";

// A count as the dialog shows it beside a scope choice: right-aligned in 5 characters.
std::string countText(std::int64_t count);

// What the main window shows when the dialog opens.
struct WindowSelection {
    std::string program = kGlobalCommands;
    std::string scope = kGlobalCommands;
    std::string group = kAllGroupsName;
    std::string commandName; // the selected command, if any
    std::string types = kAllTypeLetters;
};

class ToolsDialog {
  public:
    ToolsDialog(Road& road, ToolsMode mode, WindowSelection window);
    // Closing clears every mark, however the dialog goes.
    ~ToolsDialog();
    ToolsDialog(const ToolsDialog&) = delete;
    ToolsDialog& operator=(const ToolsDialog&) = delete;

    const ToolsModeTexts& texts() const { return toolsModeTexts(mode_); }
    ToolsMode mode() const { return mode_; }
    // A line above the mode's text that says what the operation acts on ("Rename Group
    // Samples to:"); empty when the mode needs none.
    std::string heading() const;

    // What each choice covers (Pick and Choose: the names picked).
    std::int64_t count(ScopeChoice choice) const;
    ScopeChoice choice() const { return choice_; }
    // The dialog opens on the narrowest choice: Pick and Choose with the window's command,
    // else the current Scope; never on Everything, which one Enter would act on.
    // Another scope choice. Pick and Choose shows the list with the window's command picked;
    // in Export mode the file name follows the choice until the user gives one.
    void choose(ScopeChoice choice);
    bool pickListShown() const { return choice_ == ScopeChoice::Picked; }

    // The Pick and Choose list: the window's Program and Scope, the types its view shows.
    const std::vector<std::string>& pickList() const { return pickList_; }
    const std::vector<std::string>& picked() const { return picked_; }
    void setPicked(std::vector<std::string> names);
    void pickAll() { setPicked(pickList_); }
    void pickNone() { setPicked({}); }

    // The mode's text: the export file name, the new Group or Program, the search text.
    const std::string& text() const { return text_; }
    // Typed by the user; in Export mode the file name no longer follows the choices.
    void typeText(const std::string& text);
    const std::string& exportFolder() const { return exportFolder_; }
    std::string replaceText;
    bool matchCase = false;

    enum class After { StaysOpen, Closes };
    After mainButton();
    After replaceButton();
    After replaceAllButton();

    // After the dialog: what it changed, for the window to follow. An export writes only its
    // target, never the open file.
    bool fileWritten() const { return fileWritten_ || search_.modified(); }
    // The main button found the file changed by another program and ended the operation.
    bool changedElsewhere() const { return changedElsewhere_; }
    const std::optional<std::string>& newGroup() const { return newGroup_; }
    bool groupReset() const { return groupReset_; }
    const std::optional<std::string>& fileToOpen() const { return fileToOpen_; }
    const SearchReplace& search() const { return search_; }

  private:
    Selection selection() const;
    std::string proposedFileName() const;
    bool refuseChangedFile();
    bool markChosen();
    After replacing(dat::Outcome (SearchReplace::*action)());
    After runMode();
    After runModeUnasked();
    After asking(const std::function<After()>& run);
    std::string writeQuestion() const;
    void exportMarked();
    void wrote(dat::Outcome outcome);

    Road& road_;
    Session& s_;
    ToolsMode mode_;
    WindowSelection window_;
    std::vector<std::string> pickList_;
    std::vector<std::int64_t> counts_;
    ScopeChoice choice_ = ScopeChoice::Everything;
    std::vector<std::string> picked_;
    std::string text_;
    std::string exportFolder_;
    bool fileNameGiven_ = false;
    bool searchStarted_ = false;
    SearchReplace search_;
    bool fileWritten_ = false;
    bool changedElsewhere_ = false;
    bool declined_ = false;
    std::optional<std::string> newGroup_;
    bool groupReset_ = false;
    std::optional<std::string> fileToOpen_;
};

} // namespace plv::editing
