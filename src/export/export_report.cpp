#include "export/export_report.h"

#include "export/export_xml.h"
#include "platform/files.h"

namespace plv::exports {
namespace {

// A Scope is a window title and may hold what a path reads as a folder.
std::string fileSafe(std::string name) {
    for (char& c : name) {
        if (c == '/' || c == '\\') {
            c = '_';
        }
    }
    return name;
}

} // namespace

ExportReport::ExportReport(Session& session, Format format, ExportView view)
    : s_(session), format_(format), view_(std::move(view)) {
    s_.catalogue.setFlagAll(false);
    destination_ = format_ == Format::Report ? Destination::Printer : Destination::File;
    chooseScope(view_.follow ? ScopeChoice::Picked : ScopeChoice::Everything);
}

ExportReport::~ExportReport() {
    try {
        s_.catalogue.setFlagAll(false);
    } catch (const CatalogueError&) {
        // The marks are cleared again before the next operation marks anything.
    }
}

std::string ExportReport::title() const {
    switch (format_) {
    case Format::Report:
        return "Print COMMAND list";
    case Format::Csv:
        return "Export (spreadsheet)";
    case Format::Dvc:
        return "Export (dvc)";
    case Format::Xml:
        return "Export to Dragon XML";
    case Format::Pseudo:
        break;
    }
    return "Export to pseudo dvc";
}

std::string ExportReport::actionCaption() const {
    return format_ == Format::Report ? "Print" : "Export";
}

std::string ExportReport::pickCaption() const {
    return view_.follow ? "See below" : "Pick and choose";
}

std::vector<std::string> ExportReport::preselected() const {
    return view_.follow ? view_.names : std::vector<std::string>{};
}

std::string exportFolder(const Session& s) {
    auto stored = s.catalogue.parameter("exportPath");
    return stored && !stored->empty() ? *stored : s.programFolder;
}

std::string ExportReport::baseName(ScopeChoice scope) const {
    switch (scope) {
    case ScopeChoice::Everything:
        return "global";
    case ScopeChoice::Program:
        return view_.program;
    case ScopeChoice::Group:
        return view_.group;
    case ScopeChoice::Scope:
        return view_.scope;
    case ScopeChoice::Picked:
        break;
    }
    if (!view_.follow || view_.names.empty()) {
        return "selected";
    }
    std::string name = view_.names.front();
    for (char& c : name) {
        c = c == '<' ? '[' : c == '>' ? ']' : c;
    }
    return name;
}

void ExportReport::chooseScope(ScopeChoice scope) {
    scope_ = scope;
    // The followed command's file goes to the program folder, the others to the export folder.
    std::string folder = scope == ScopeChoice::Picked && view_.follow && !view_.names.empty()
                             ? s_.programFolder
                             : exportFolder(s_);
    fileName_ = files::join(folder, fileSafe(baseName(scope)) + "." + formatCode(format_));
}

bool ExportReport::checkFile(const std::string& path) {
    std::string folder = files::parentFolder(path);
    if (folder.empty() || !files::isDirectory(folder)) {
        s_.ui.warning(kFolderMissing, folder);
        return false;
    }
    auto stored = s_.catalogue.parameter("exportPath");
    if (!stored || *stored != folder) {
        s_.catalogue.setParameter("exportPath", folder);
    }
    return mayReplace(s_.ui, path);
}

std::optional<ExportOutput> ExportReport::act(const std::vector<std::string>& selectedNames) {
    Selection selection;
    selection.choice = scope_;
    selection.program = view_.program;
    selection.scope = view_.scope;
    selection.group = view_.group;
    selection.types = view_.types;
    selection.picked = selectedNames;
    if (scope_ == ScopeChoice::Picked && selectedNames.empty()) {
        s_.catalogue.setFlagAll(false);
        s_.ui.warning(kNothingSelected, view_.scope);
        return std::nullopt;
    }
    if (markSelection(s_.catalogue, selection) == 0) {
        s_.ui.warning(kNoMacrosOfType, kNoMacrosOfTypeTitle);
        return std::nullopt;
    }
    if (format_ == Format::Xml) {
        return actXml();
    }
    // The text comes first, so that nobody is asked to overwrite a file for nothing.
    auto text = exportMarked(s_.catalogue, format_);
    if (!text) {
        s_.ui.warning(kNoDvcCommands, kNoDvcCommandsTitle);
        return std::nullopt;
    }
    ExportOutput output{destination_, std::move(*text), {}};
    if (destination_ == Destination::File) {
        output.path = fileName_;
        if (!checkFile(output.path) || !writeExportFile(s_.ui, output.path, output.text)) {
            return std::nullopt;
        }
        s_.ui.message("Exported to " + output.path, files::fileName(output.path));
    }
    return output;
}

std::optional<ExportOutput> ExportReport::actXml() {
    ExportOutput output{Destination::File, {}, fileName_};
    if (!checkFile(output.path)) {
        s_.catalogue.setFlagAll(false);
        return std::nullopt;
    }
    if (!exportMarkedXml(s_, output.path).done) {
        return std::nullopt;
    }
    return output;
}

} // namespace plv::exports
