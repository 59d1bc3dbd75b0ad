// The Tools operations from the terminal: rename-group, rename-program, replace (Replace All),
// convert-format and convert-language. Each parses FILE (or, with --current-user, starts on
// the current Dragon user's file), chooses the commands with the selection options as the
// Tools dialog does, runs the operation with the window's checks and messages on the editing
// road, and parses the result again (a file that does not read brings the previous one back
// from savedat).
#include "cli/selection_options.h"
#include "cli/workspace.h"
#include "datfile/rename_group.h"
#include "editing/convert_format.h"
#include "editing/convert_language.h"
#include "editing/rename_group.h"
#include "editing/rename_program.h"
#include "editing/search_replace.h"

#include <functional>
#include <ostream>

namespace plv::cli {
namespace {

using dat::Outcome;

// The operation on the parsed file: Done when it wrote; what it prints afterwards.
using Operation = std::function<Outcome(editing::Road&, std::vector<std::string>& report)>;

bool required(const Args& args, Io& io, const std::string& command,
              const std::vector<std::string>& names) {
    for (const auto& name : names) {
        if (!args.value(name)) {
            io.err << "parlavista-cli " << command << ": --" << name << " is required\n";
            return false;
        }
    }
    return true;
}

// Parse (or, with --current-user, the program's start-up on the current Dragon user's file),
// the operation on the editing road (its checks, then the day's backup and its write),
// verification; then the report.
int runOnFile(const Args& args, Io& io, const std::string& command, bool confirmed,
              const Operation& operation) {
    int status = kOk;
    auto w = WriteSession::open(args, io, command, status);
    if (!w) {
        return status;
    }
    w->console().confirmed = confirmed;
    Session& s = w->session();
    std::vector<std::string> report;
    status = w->write([&] { return operation(w->road(), report); });
    if (status != kOk && status != kNotTakenOver) {
        return status;
    }
    for (const auto& line : report) {
        io.out << command << ": " << line << "\n";
    }
    io.out << command << ": " << s.catalogue.countCommands() << " commands, " << s.file.listCount
           << " LISTs, format " << s.file.versionName << ", " << s.file.languageName << "\n";
    return status;
}

// Marks the chosen commands as the Tools dialog does; false after its message when none is.
bool markChosen(Session& s, Selection selection, bool searchable) {
    selection.commandsOnly = true;
    std::int64_t marked = markFromArgs(s.catalogue, selection);
    if (searchable) {
        editing::keepSearchableMarks(s.catalogue);
        marked = static_cast<std::int64_t>(s.catalogue.flaggedRows().size());
    }
    if (marked == 0) {
        s.ui.message("There are no macros of the specified type to Export",
                     "Change Program, Scope, or Type of Export");
        return false;
    }
    return true;
}

std::string commands(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " command" : " commands");
}

int runRenameGroup(const Args& args, Io& io) {
    auto selection = selectionFromArgs(args, io, "rename-group");
    if (!selection || !required(args, io, "rename-group", {"from", "to"})) {
        return kUsage;
    }
    std::string from = *args.value("from");
    std::string to = *args.value("to");
    return runOnFile(args, io, "rename-group", false, [&](editing::Road& road, auto& report) {
        Session& s = road.session();
        if (!markChosen(s, *selection, false)) {
            return Outcome::Refused;
        }
        std::size_t renamed = 0;
        for (const auto& row : s.catalogue.flaggedRows()) {
            renamed += dat::groupIsRenamed(row.owner == kUserDefined ? "" : row.owner, from);
        }
        Outcome done = editing::renameGroup(road, from, to);
        report.push_back(commands(renamed) + " moved from Group '" + from + "' to '" + to + "'");
        return done;
    });
}

int runRenameProgram(const Args& args, Io& io) {
    auto selection = selectionFromArgs(args, io, "rename-program");
    if (!selection || !required(args, io, "rename-program", {"to"})) {
        return kUsage;
    }
    std::string to = *args.value("to");
    return runOnFile(args, io, "rename-program", false, [&](editing::Road& road, auto& report) {
        Session& s = road.session();
        if (!markChosen(s, *selection, false)) {
            return Outcome::Refused;
        }
        std::size_t renamed = 0;
        for (const auto& row : s.catalogue.flaggedRows()) {
            renamed += row.menu != kGlobalCommands;
        }
        Outcome done = editing::renameProgram(road, to, selection->choice);
        report.push_back(commands(renamed) + " now in Program '" + to + "'");
        return done;
    });
}

int runReplace(const Args& args, Io& io) {
    auto selection = selectionFromArgs(args, io, "replace");
    if (!selection || !required(args, io, "replace", {"search", "replace"})) {
        return kUsage;
    }
    return runOnFile(args, io, "replace", false, [&](editing::Road& road, auto& report) {
        Session& s = road.session();
        if (!markChosen(s, *selection, true)) {
            return Outcome::Refused;
        }
        editing::SearchReplace search(s);
        search.setTexts(*args.value("search"), *args.value("replace"), args.flag("match-case"));
        // Nothing to replace is a refusal, found before the day's backup is taken.
        if (!search.textsWritable() || !search.findNext() || !road.automaticBackup() ||
            search.replaceAll() != Outcome::Done || search.replacements() == 0) {
            return Outcome::Refused;
        }
        report.push_back(search.countsMessage());
        return Outcome::Done;
    });
}

int runConvertFormat(const Args& args, Io& io) {
    const dat::FormatConversion* conversion =
        dat::findFormatConversion(args.value("to").value_or(""));
    if (!conversion) {
        io.err << "parlavista-cli convert-format: --to is 6.0, 6.1, 7.x or 8/9\n";
        return kUsage;
    }
    return runOnFile(args, io, "convert-format", true, [&](editing::Road& road, auto& report) {
        Session& s = road.session();
        std::string from = s.file.versionName;
        Outcome done = editing::convertFormat(road, *conversion);
        report.push_back(std::string(conversion->done) + " (from " + from + ")");
        return done;
    });
}

int runConvertLanguage(const Args& args, Io& io) {
    std::string language = args.value("to").value_or("");
    if (editing::languageCode(language) == 0) {
        io.err << "parlavista-cli convert-language: --to is Dutch, English, French, German or "
                  "Spanish\n";
        return kUsage;
    }
    return runOnFile(args, io, "convert-language", true, [&](editing::Road& road, auto& report) {
        editing::LanguageConversion conversion(road);
        if (!conversion.open() || conversion.convert("to " + language) !=
                                      editing::LanguageConversion::Result::Converted) {
            return Outcome::Refused;
        }
        report.push_back("the header names the language " + language);
        return Outcome::Done;
    });
}

constexpr const char* kOnCurrentUser =
    "\n\nWith --current-user (and --dragon-root DIR, else $PARLAVISTA_DRAGON_ROOT) in place of\n"
    "FILE, or with a FILE that is that user's file, the current Dragon user's mycmds.dat is\n"
    "changed as the window changes it, with the refusals the window gives that file (exit 4\n"
    "when Dragon did not take the change over; the file is written).";

const std::string kSelectionHelp =
    "\n  --program P   the commands of Program P (--scope S: of its Scope S; --name N,\n"
    "                repeatable: those of the names)\n"
    "  --group G     the commands of Group G\n"
    "  --types L     only types among the letters KSTPRXA (as the View menu shows them)\n"
    "  --home DIR    the program folder (savedat, trace.plv, backups, logs)\n\n"
    "Without a choice, every command. LISTs are never chosen themselves." +
    std::string(kOnCurrentUser);

std::set<std::string> withSelection(std::set<std::string> options) {
    options.insert(kSelectionOptions.begin(), kSelectionOptions.end());
    return withWriteTargetOptions(options);
}

const bool registered =
    registerCommand({"rename-group",
                     "rename-group FILE|--current-user --from OLD --to NEW [selection]",
                     "give the chosen commands of a Group another Group",
                     "Gives the chosen commands whose Group is OLD the Group NEW. OLD may be "
                     "\"All groups\"\n(every chosen command) or \"User-defined\" (those without "
                     "a Group); NEW \"User-defined\"\nleaves them without one." +
                         kSelectionHelp,
                     withSelection({"from", "to"}), kWriteTargetFlags, runRenameGroup}) &&
    registerCommand({"rename-program", "rename-program FILE|--current-user --to NEW [selection]",
                     "give the chosen commands another Program",
                     "Gives the chosen application- and window-specific commands the Program "
                     "(application\nname) NEW; a trailing .exe is left out. On the current "
                     "Dragon user's own file\nthe choice must name a Program or Scope." +
                         kSelectionHelp,
                     withSelection({"to"}), kWriteTargetFlags, runRenameProgram}) &&
    registerCommand(
        {"replace",
         "replace FILE|--current-user --search TEXT --replace TEXT [--match-case] [selection]",
         "replace a text in the bodies of the chosen commands",
         "Replaces every TEXT in the bodies of the chosen KEYS, SCRIPT and Advanced "
         "Scripting\ncommands, in one rewrite, and prints how many were replaced "
         "(status 3 when none\nwas). "
         "Without --match-case\nletters compare without regard to case, accented "
         "ones included." +
             kSelectionHelp,
         withSelection({"search", "replace"}),
         {"match-case", "current-user"},
         runReplace}) &&
    registerCommand({"convert-format", "convert-format FILE|--current-user --to 6.0|6.1|7.x|8/9",
                     "convert a command file to another format version",
                     "Writes the file in the record layout of the older (or newer) Dragon "
                     "version. Fields\nthe target has no place for are left out (and named "
                     "before the conversion); 6.0\nand 6.1 exist in English only. The current "
                     "Dragon user's own 10/11 file is never\nconverted.\n\n"
                     "  --home DIR   the program folder (savedat, trace.plv, backups)",
                     withWriteTargetOptions({"to"}), kWriteTargetFlags, runConvertFormat}) &&
    registerCommand(
        {"convert-language",
         "convert-language FILE|--current-user --to Dutch|English|French|German|Spanish",
         "change the language named in a command file's header",
         "Changes the one header byte that names the file's language, so that "
         "Dragon users of\nthat language can import its commands; nothing is "
         "translated. The current Dragon\nuser's own file is never changed.\n\n"
         "  --home DIR   the program folder",
         withWriteTargetOptions({"to"}), kWriteTargetFlags, runConvertLanguage});

} // namespace
} // namespace plv::cli
