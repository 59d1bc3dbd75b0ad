// The commands that move commands between a command file and Dragon's XML form:
// export-xml (the chosen commands of a command file, with their LISTs) and import-xml (an
// XML file's commands into a new or an existing command file).
#include "cli/selection_options.h"
#include "cli/workspace.h"
#include "editing/import_xml.h"
#include "export/export_xml.h"

#include <ostream>

namespace plv::cli {
namespace {

int runExportXml(const Args& args, Io& io) {
    if (args.positional.size() != 2) {
        io.err << "usage: parlavista-cli export-xml FILE OUT.xml ... (see --help)\n";
        return kUsage;
    }
    int status = kOk;
    auto w = chosenCommands(args, io, "export-xml", status);
    if (!w) {
        return status;
    }
    auto result = exports::exportMarkedXml(w->session(), args.positional[1]);
    if (!result.done) {
        return kFailed;
    }
    io.out << "export-xml: wrote " << result.exported << " commands and " << result.lists
           << " LISTs to " << args.positional[1] << "\n";
    if (!result.leftOut.empty()) {
        io.out << "export-xml: " << result.leftOut.size() << " left out\n";
    }
    return kOk;
}

void printImported(Io& io, const editing::ImportXmlResult& r, const std::string& target) {
    io.out << "import-xml: wrote " << r.imported << " commands and " << r.listsAdded << " LISTs to "
           << target << "\n";
    if (r.replaced + r.kept > 0) {
        io.out << "import-xml: " << r.replaced << " commands of the target replaced, " << r.kept
               << " kept\n";
    }
    if (!r.refusals.empty()) {
        io.out << "import-xml: " << r.refusals.size() << " not imported\n";
    }
}

bool isDragonsFile(const Args& args, const std::string& target) {
    auto users = dragonUsers(args);
    return users && files::sameFile(currentUserCommandFile(users.get()), target);
}

// Into the existing target, on the road of every write.
int appendTo(const Args& args, Io& io, const editing::ImportPlan& plan) {
    Args targetArgs = args;
    targetArgs.positional = {args.positional[1]};
    int status = kOk;
    auto w = WriteSession::open(targetArgs, io, "import-xml", status);
    if (!w) {
        return status;
    }
    auto duplicates = duplicateAnswers(args);
    editing::ImportXmlResult result;
    status =
        w->write([&] { return editing::importIntoOpenFile(w->road(), plan, duplicates, result); });
    editing::reportRefusals(w->console(), result);
    if (result.done) {
        printImported(io, result, w->session().file.path);
    }
    return status;
}

int runImportXml(const Args& args, Io& io) {
    if (args.positional.size() != 2) {
        io.err << "usage: parlavista-cli import-xml IN.xml TARGET.dat ... (see --help)\n";
        return kUsage;
    }
    if (!targetOptionsFit(args, io, "import-xml")) {
        return kUsage;
    }
    const std::string& target = args.positional[1];
    ConsoleInteraction ui(io.err);
    auto plan = editing::readImport(ui, args.positional[0]);
    if (!plan) {
        return files::exists(args.positional[0]) ? kFailed : kMissingFile;
    }
    bool exists = files::exists(target);
    if (exists && files::sameFile(args.positional[0], target)) {
        ui.message(dat::kExportToSelf, target);
        return kFailed;
    }
    if (exists && args.flag("append")) {
        return appendTo(args, io, *plan);
    }
    if (exists && !args.flag("overwrite")) {
        ui.message(std::string(dat::kTargetExists) + "\n" + target +
                       "\n(--append or --overwrite says what to do with it)",
                   dat::kTargetExistsTitle);
        return kFailed;
    }
    if (exists && isDragonsFile(args, target)) {
        ui.message(dat::kExportToDragonsFile, target);
        return kFailed;
    }
    auto result = editing::importIntoNewFile(ui, *plan, target, duplicateAnswers(args));
    editing::reportRefusals(ui, result);
    if (!result.done) {
        return kFailed;
    }
    printImported(io, result, target);
    return kOk;
}

std::set<std::string> withSelection() {
    std::set<std::string> options(kSelectionOptions.begin(), kSelectionOptions.end());
    options.insert({"home", "dragon-root"});
    return options;
}

const bool registered =
    registerCommand(
        {"export-xml",
         "export-xml FILE OUT.xml [--program P] [--scope S] [--group G] [--name N]... "
         "[--types LETTERS]",
         "export chosen commands with their LISTs as a Dragon XML file",
         "Writes the chosen commands of FILE (all of them when no choice is given), with\n"
         "every LIST they use, to OUT.xml in the XML form that Dragon's Command Browser\n"
         "imports (UTF-16). --program, --scope, --group, --name, --types, --home and\n"
         "--dragon-root choose as they do for export-dat.\n\n"
         "A KEYS command goes as a SendKeys script; a command with the skip bit goes, not\n"
         "enabled, when the whole file is exported. Step-by-step commands, encrypted\n"
         "commands and recorded macros with keystrokes or recorded windows have no XML\n"
         "form: they are listed on standard error and left out.",
         withSelection(),
         {},
         runExportXml}) &&
    registerCommand(
        {"import-xml",
         "import-xml IN.xml TARGET.dat [--append | --overwrite] [--yes-to-all | --no-to-all]",
         "import the commands and LISTs of a Dragon XML file into a command file",
         "Reads the Dragon XML file IN.xml (UTF-16, UTF-8 or Windows-1252) and writes its\n"
         "commands and LISTs into TARGET.dat: a new 10/11 command file in the XML's\n"
         "language, or an existing one.\n\n"
         "  --append       TARGET exists: add to it (10/11 in the same language only; a LIST\n"
         "                 it has already stays as it is)\n"
         "  --overwrite    TARGET exists: replace it by a new file\n"
         "  --yes-to-all   a command TARGET has already, or the XML holds twice: the\n"
         "                 later one replaces it\n"
         "  --no-to-all    such a command: the one written first is kept\n"
         "  --home DIR     the program folder\n"
         "  --dragon-root DIR  Dragon's folders (else $PARLAVISTA_DRAGON_ROOT)\n\n"
         "A command whose name Dragon refuses, whose LIST is in neither file, whose content\n"
         "type is not known or whose text Windows-1252 cannot hold is listed with its line\n"
         "and left out; the rest is imported. A damaged XML file changes nothing (exit 3).\n"
         "Appending to the current Dragon user's mycmds.dat goes the road of every edit:\n"
         "backed up, read again, and taken over by Dragon (exit 4 when it did not).",
         withWriteTargetOptions({}),
         {"append", "overwrite", "yes-to-all", "no-to-all"},
         runImportXml});

} // namespace
} // namespace plv::cli
