#pragma once

#include "catalogue/selection.h"
#include "datfile/session.h"
#include "export/export_file.h"

#include <optional>
#include <string>
#include <vector>

// The Export/Report dialog without its widgets: the scope and destination choices, the
// file name they propose, and the action that marks the rows, checks what the user asked
// for and produces the text.
namespace plv::exports {

enum class Destination { Printer, File, Clipboard };

inline constexpr const char* kNothingSelected = "Nothing is selected to print/export";
inline constexpr const char* kNoMacrosOfType =
    "There are no macros of the specified type to Export";
inline constexpr const char* kNoMacrosOfTypeTitle = "Change Program, Scope, or Type of Export";
inline constexpr const char* kFolderMissing = "Folder does not exist";

// What the main window shows when the dialog opens.
struct ExportView {
    std::string program;
    std::string scope;
    std::string group = kAllGroupsName;
    std::string types = kAllTypeLetters; // the type letters the View menu ticks
    std::vector<std::string> names;      // the command list
    bool follow = false;                 // a follow view (command with LISTs, LIST with users)
};

// The text the action produced and where it goes. A file is already written.
struct ExportOutput {
    Destination destination = Destination::File;
    std::string text; // UTF-8, CR LF
    std::string path; // To File
};

// Where exports go: `exportPath`, or the program folder while none is stored.
std::string exportFolder(const Session& session);

class ExportReport {
  public:
    // Clears every mark; proposes "global" in the export folder, or with a follow view the
    // followed names under Pick and Choose.
    ExportReport(Session& session, Format format, ExportView view);
    // Closing the dialog in any way leaves no row marked.
    ~ExportReport();
    ExportReport(const ExportReport&) = delete;
    ExportReport& operator=(const ExportReport&) = delete;

    Session& session() const { return s_; }
    Format format() const { return format_; }
    std::string title() const;
    std::string actionCaption() const;
    // "See below" while a follow view is on, else "Pick and choose".
    std::string pickCaption() const;
    const ExportView& view() const { return view_; }
    // The names selected in the list when the dialog opens: all of them under a follow view.
    std::vector<std::string> preselected() const;

    ScopeChoice scope() const { return scope_; }
    // Sets the file name to the scope's base name in the export folder.
    void chooseScope(ScopeChoice scope);
    Destination destination() const { return destination_; }
    void chooseDestination(Destination destination) { destination_ = destination; }
    const std::string& fileName() const { return fileName_; }
    void setFileName(std::string name) { fileName_ = std::move(name); }

    // The action button: nothing when the dialog stays open (the reason has been shown).
    std::optional<ExportOutput> act(const std::vector<std::string>& selectedNames);

  private:
    std::string baseName(ScopeChoice scope) const;
    bool checkFile(const std::string& path);
    // Dragon XML goes to its file only, written by its own export.
    std::optional<ExportOutput> actXml();

    Session& s_;
    Format format_;
    ExportView view_;
    ScopeChoice scope_ = ScopeChoice::Everything;
    Destination destination_ = Destination::File;
    std::string fileName_;
};

} // namespace plv::exports
