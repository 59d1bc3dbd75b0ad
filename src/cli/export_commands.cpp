// The commands that export the chosen rows of a command file: export (a report, a CSV file,
// pseudo-DVC or DVC text) and export-dat (a command file that Dragon can import).
#include "cli/selection_options.h"
#include "cli/workspace.h"
#include "datfile/export_dat.h"
#include "export/export_file.h"
#include "export/export_report.h"

#include <ostream>

namespace plv::cli {
namespace {

int runExport(const Args& args, Io& io) {
    std::string file;
    if (!oneFileArgument(args, io, "export", file)) {
        return kUsage;
    }
    auto format = exports::formatFromCode(args.value("format").value_or(""));
    if (!format) {
        io.err << "parlavista-cli export: --format is txt, csv, pseudo or dvc\n";
        return kUsage;
    }
    auto selection = selectionFromArgs(args, io, "export");
    if (!selection) {
        return kUsage;
    }
    auto w = Workspace::open(args, io, ":memory:");
    if (!w) {
        return kFailed;
    }
    if (int status = markChosen(*w, file, *selection); status != kOk) {
        return status;
    }
    auto text = exports::exportMarked(w->catalogue(), *format);
    if (!text) {
        w->ui().message(exports::kNoDvcCommands, exports::kNoDvcCommandsTitle);
        return kFailed;
    }
    if (auto output = args.value("output")) {
        return exports::writeExportFile(w->ui(), *output, *text) ? kOk : kFailed;
    }
    std::string bytes;
    if (!exports::toExportBytes(w->ui(), *text, "standard output", bytes)) {
        return kFailed;
    }
    io.out << bytes;
    return kOk;
}

int runExportDat(const Args& args, Io& io) {
    if (args.positional.size() != 2) {
        io.err << "usage: parlavista-cli export-dat FILE TARGET ... (see --help)\n";
        return kUsage;
    }
    if (!targetOptionsFit(args, io, "export-dat")) {
        return kUsage;
    }
    int status = kOk;
    auto w = chosenCommands(args, io, "export-dat", status);
    if (!w) {
        return status;
    }
    dat::ExportDatRequest request;
    request.target = args.positional[1];
    request.existing = args.flag("append")      ? dat::ExistingTarget::Append
                       : args.flag("overwrite") ? dat::ExistingTarget::Overwrite
                                                : dat::ExistingTarget::Ask;
    request.duplicates = duplicateAnswers(args);
    dat::ExportDatResult result = dat::exportToDat(w->session(), request);
    if (!result.exportDone) {
        return kFailed;
    }
    io.out << "export-dat: " << (result.appended ? "appended " : "wrote ") << result.exported
           << " commands and " << result.listsAdded << " LISTs to " << result.target << "\n";
    if (result.replaced + result.kept > 0) {
        io.out << "export-dat: " << result.replaced << " commands of the target replaced, "
               << result.kept << " kept\n";
    }
    return kOk;
}

const std::string kSelectionHelp =
    "  --program P    the commands of Program P\n"
    "  --scope S      with --program: of Scope S only\n"
    "  --group G      of Group G (with --program or --scope: narrows them)\n"
    "  --name N       with --program and --scope: the command N (repeatable)\n"
    "  --types LETTERS  only these types (KSLTPRXA; default all eight)\n"
    "  --home DIR     the program folder\n"
    "  --dragon-root DIR  Dragon's folders (else $PARLAVISTA_DRAGON_ROOT): a Dragon user's\n"
    "                 command file is never replaced by an export\n";

std::set<std::string> withSelection(std::set<std::string> options) {
    options.insert(kSelectionOptions.begin(), kSelectionOptions.end());
    options.insert({"home", "dragon-root"});
    return options;
}

const bool registered =
    registerCommand(
        {"export",
         "export FILE --format txt|csv|pseudo|dvc [--program P] [--scope S] [--group G] "
         "[--types LETTERS] [-o OUT]",
         "a report, CSV file, pseudo-DVC or DVC listing of chosen commands",
         "Writes the chosen commands and LISTs of FILE (all of them when no choice is given)\n"
         "to OUT, or to standard output:\n"
         "  txt     the names under a Program and Scope heading\n"
         "  csv     one line per row: Program, Scope, type letter, name, Group, description\n"
         "          and the first line of the body, each in double quotes\n"
         "  pseudo  MENU, STATE, COMMAND and LIST blocks in the style of the DVC language\n"
         "  dvc     the same, of the KEYS, SCRIPT and LIST rows only\n\n"
         "  --format F     txt, csv, pseudo or dvc\n"
         "  -o, --output OUT  the file to write (replaced whole)\n" +
             kSelectionHelp +
             "\nThe text is Windows-1252 with CR LF line ends, in the file as on standard "
             "output.\nExit status 3 when nothing of the chosen types is there to export.",
         withSelection({"format", "output"}),
         {},
         runExport}) &&
    registerCommand(
        {"export-dat",
         "export-dat FILE TARGET [--append | --overwrite] [--yes-to-all | --no-to-all] "
         "[--program P] [--scope S] [--group G] [--name N]...",
         "export chosen commands with their LISTs into a command file",
         "Writes the chosen commands of FILE (all of them when no choice is given), with\n"
         "every LIST they use, into the command file TARGET, which must end in .dat.\n\n"
         "  --append       TARGET exists: add to it (same version and language only)\n"
         "  --overwrite    TARGET exists: replace its content\n"
         "  --yes-to-all   appending: exported commands replace those TARGET has already\n"
         "  --no-to-all    appending: TARGET keeps the commands it has already\n" +
             kSelectionHelp +
             "\nExit status 3, TARGET left as it was, when TARGET exists and neither --append "
             "nor\n--overwrite is given, when a command that TARGET has already is met without "
             "--yes-to-all\nor --no-to-all, and when TARGET's version or language differs.",
         withSelection({}),
         {"append", "overwrite", "yes-to-all", "no-to-all"},
         runExportDat});

} // namespace
} // namespace plv::cli
