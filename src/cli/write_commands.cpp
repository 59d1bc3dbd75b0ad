// The commands that change a command file: set-body, set, new-command, new-list,
// rename-list, delete and rewrite. Each parses the file, runs one write operation (its
// checks first, then the day's backup and the write) and parses the result again, which
// restores the previous file when the new one does not read; on the current Dragon user's
// file the write goes the whole editing road.
#include "cli/selection_options.h"
#include "cli/text_option.h"
#include "cli/workspace.h"
#include "datfile/record_ops.h"
#include "datfile/rewrite_full.h"
#include "editing/body_to_write.h"
#include "editing/delete_commands.h"
#include "editing/name_checks.h"
#include "editing/prompts.h"
#include "editing/tools_dialog.h"
#include "platform/codepage.h"
#include "platform/files.h"

#include <functional>
#include <ostream>

namespace plv::cli {
namespace {

using dat::Outcome;

// What a command reports once its write has been verified.
struct Report {
    std::vector<std::string> lines;
    bool unchanged = false; // the file already holds what was asked: nothing is written
    void add(const std::string& line) { lines.push_back(line); }
    // As Save Changes with nothing changed: no backup, no write, nothing for Dragon.
    Outcome nothingToWrite(const std::string& line) {
        add(line);
        unchanged = true;
        return Outcome::Done;
    }
};

// The operation on the road: its checks, then the day's backup and its write.
using Operation = std::function<Outcome(editing::Road&, Report&)>;

bool requireValues(const Args& args, Io& io, const std::string& command,
                   const std::vector<std::string>& names) {
    for (const auto& name : names) {
        if (!args.value(name)) {
            io.err << "parlavista-cli " << command << ": --" << name << " is required\n";
            return false;
        }
    }
    return true;
}

std::string where(const UserRow& row) {
    return "'" + row.name + "' (" + row.menu + " / " + row.state + ")";
}

std::uint64_t fileSize(const std::string& path) {
    return files::size(path).value_or(0);
}

// Parse, operation, verification (for the current user the whole editing road); then the
// report, also when Dragon did not take the written file over.
int runWrite(const Args& args, Io& io, const std::string& command, const Operation& operation,
             bool newList = false) {
    int status = kOk;
    auto w = WriteSession::open(args, io, command, status);
    if (!w) {
        return status;
    }
    // A question (a LIST that commands use) is answered Yes only when asked to.
    w->console().confirmed = args.flag("yes");
    Session& s = w->session();
    std::string file = s.file.path;
    std::uint64_t before = fileSize(file);
    Report report;
    status = w->write([&] { return operation(w->road(), report); }, newList, &report.unchanged);
    if (status != kOk && status != kNotTakenOver) {
        return status;
    }
    for (const auto& line : report.lines) {
        io.out << command << ": " << line << "\n";
    }
    io.out << command << ": file " << before << " -> " << fileSize(file) << " bytes, "
           << s.catalogue.countCommands() << " commands, " << s.file.listCount << " LISTs\n";
    return status;
}

// Once every check has passed: the day's backup, then the write (never one without the
// other).
Outcome backedUp(editing::Road& road, const std::function<Outcome()>& write) {
    return road.automaticBackup() ? write() : Outcome::Refused;
}

// The command row of Program, Scope and name; else, in the global Program and Scope, the
// file's LIST of that name.
std::optional<UserRow> findTarget(const Session& s, const Args& args) {
    std::string program = *args.value("program");
    std::string scope = *args.value("scope");
    std::string name = *args.value("name");
    if (auto row = s.catalogue.findCommand(program, scope, name)) {
        return row;
    }
    if (equalsNoCase(program, kGlobalCommands) && equalsNoCase(scope, kGlobalCommands)) {
        return s.catalogue.findFileList(name);
    }
    return std::nullopt;
}

Outcome notFound(Session& s, const Args& args) {
    s.ui.message("There is no command '" + *args.value("name") + "' in Program '" +
                     *args.value("program") + "', Scope '" + *args.value("scope") + "'",
                 s.file.path);
    return Outcome::Refused;
}

Outcome refuse(Session& s, const std::string& text, const std::string& title) {
    s.ui.message(text, title);
    return Outcome::Refused;
}

// Whether the row's body is text the file takes back: what the rewrite would refuse.
bool bodyCanChange(Session& s, const UserRow& row) {
    if (row.encrypted) {
        refuse(s, dat::kEncryptedMessage, row.name);
        return false;
    }
    if (row.type == "T" || row.type == "X" || row.type == "R") {
        refuse(s,
               "Only the bodies of KEYS, SCRIPT, Advanced Scripting and Plain Text commands "
               "and the items of LISTs are changed this way",
               row.name);
        return false;
    }
    return true;
}

// A description and a Group ("User-defined" is none) the file's code page can hold.
bool headTextsFit(Session& s, const std::string& description, const std::string& group) {
    return editing::checkFileText(s, description) &&
           (group == kUserDefined || editing::checkFileText(s, group));
}

// The window's question when commands use the LIST; answered No without --yes.
bool listMayChange(Session& s, const UserRow& list, const std::string& verb) {
    return editing::listInUseCheck(s, list.name, verb, list.name);
}

int runSetBody(const Args& args, Io& io) {
    std::string body;
    if (!requireValues(args, io, "set-body", {"program", "scope", "name"}) ||
        !textOption(args, io, "set-body", "body", body)) {
        return kUsage;
    }
    return runWrite(args, io, "set-body", [&](editing::Road& road, Report& report) {
        Session& s = road.session();
        auto row = findTarget(s, args);
        if (!row) {
            return notFound(s, args);
        }
        if (!bodyCanChange(s, *row)) {
            return Outcome::Refused;
        }
        // What Save Changes in the window would write for the same text.
        auto written = editing::bodyToWrite(road, row->type, body);
        if (!written) {
            return Outcome::Refused;
        }
        if (*written == row->script) {
            return report.nothingToWrite(where(*row) + " already has this body: nothing written");
        }
        report.add("replaced the body of " + where(*row));
        return backedUp(road, [&] {
            // The write road parses the file again afterwards.
            return dat::Update1Body(s, *row, *written, dat::Positions::LeaveToRefresh);
        });
    });
}

Outcome setCommand(editing::Road& road, const Args& args, const UserRow& row, Report& report) {
    Session& s = road.session();
    std::string name = args.value("new-name").value_or(row.name);
    if (name != row.name) {
        if (!editing::checkCommandName(s, name)) {
            return Outcome::Refused;
        }
        if (editing::nameTakenByAnother(s.catalogue, row, name)) {
            return refuse(s, name + " already exists", "Must delete first");
        }
    }
    std::string description = args.value("description").value_or(row.description);
    std::string group = args.value("group").value_or(row.owner);
    if (group.empty()) {
        group = kUserDefined;
    }
    if (!headTextsFit(s, description, group)) {
        return Outcome::Refused;
    }
    if (name == row.name && description == row.description &&
        group == (row.owner.empty() ? std::string(kUserDefined) : row.owner)) {
        return report.nothingToWrite(where(row) + " is already so: nothing written");
    }
    report.add("changed " + where(row) + ": name '" + name + "', description '" + description +
               "', Group '" + group + "'");
    return backedUp(road, [&] { return dat::UpdateFirstThings(s, row, name, description, group); });
}

Outcome renameList(editing::Road& road, const UserRow& row, const std::string& name,
                   Report& report) {
    Session& s = road.session();
    if (!editing::checkListName(s, name)) {
        return Outcome::Refused;
    }
    if (editing::nameTakenByAnother(s.catalogue, row, name)) {
        return refuse(s, name + " already exists", "Must delete first");
    }
    if (!listMayChange(s, row, "Rename")) {
        return Outcome::Refused;
    }
    auto users = dat::commandsUsingList(s.catalogue, row.name);
    report.add("renamed the LIST '" + row.name + "' to '" + name + "'");
    if (!users.empty()) {
        report.add(std::to_string(users.size()) + " commands still refer to <" + row.name + ">");
    }
    return backedUp(road, [&] { return dat::UpdateListRename(s, row, name); });
}

int runSet(const Args& args, Io& io) {
    if (!requireValues(args, io, "set", {"program", "scope", "name"})) {
        return kUsage;
    }
    if (!args.value("new-name") && !args.value("description") && !args.value("group")) {
        io.err << "parlavista-cli set: give --new-name, --description or --group\n";
        return kUsage;
    }
    return runWrite(args, io, "set", [&](editing::Road& road, Report& report) {
        Session& s = road.session();
        auto row = findTarget(s, args);
        if (!row) {
            return notFound(s, args);
        }
        if (!row->isList()) {
            return setCommand(road, args, *row, report);
        }
        if (args.value("description") || args.value("group") || !args.value("new-name")) {
            return refuse(s, "A LIST has only a name to change", row->name);
        }
        return renameList(road, *row, *args.value("new-name"), report);
    });
}

// The window's position check: a command of the Program and Scope lends the new one its
// application and window strings.
bool canCreateIn(Session& s, const std::string& program, const std::string& scope) {
    if (equalsNoCase(program, kGlobalCommands)) {
        return true;
    }
    for (const auto& row : s.catalogue.rowsOf(program, scope)) {
        if (!row.isList()) {
            return true;
        }
    }
    s.ui.message("Parlavista cannot create a new command for this Program, Scope, Group, or View.",
                 "Please pick a different Program, Scope, Group, or View");
    return false;
}

int runNewCommand(const Args& args, Io& io) {
    dat::NewCommand c;
    std::string body;
    if (!requireValues(args, io, "new-command", {"program", "scope", "name", "type"}) ||
        !textOption(args, io, "new-command", "body", body)) {
        return kUsage;
    }
    c.type = *args.value("type");
    if (c.type != "K" && c.type != "S" && c.type != "A" && c.type != "P") {
        io.err << "parlavista-cli new-command: --type is K, S, A or P\n";
        return kUsage;
    }
    c.name = *args.value("name");
    c.program = *args.value("program");
    c.scope = *args.value("scope");
    c.description = args.value("description").value_or("");
    c.group = args.value("group").value_or(kUserDefined);
    return runWrite(args, io, "new-command", [&](editing::Road& road, Report& report) {
        Session& s = road.session();
        if (equalsNoCase(c.program, kGlobalCommands) && !equalsNoCase(c.scope, kGlobalCommands)) {
            return refuse(s,
                          "A command of Program 'Global Commands' has the Scope 'Global Commands'",
                          c.scope);
        }
        if (s.catalogue.findRow(c.program, c.scope, c.name)) {
            return refuse(s, "Command already exists", c.name);
        }
        if (!editing::checkCommandName(s, c.name) || !canCreateIn(s, c.program, c.scope) ||
            !headTextsFit(s, c.description, c.group)) {
            return Outcome::Refused;
        }
        // Prepared as Save Changes prepares the body of a new command.
        auto written = editing::bodyToWrite(road, c.type, body);
        if (!written) {
            return Outcome::Refused;
        }
        c.body = *written;
        report.add("added the " + c.type + " command '" + c.name + "' (" + c.program + " / " +
                   c.scope + ") as the last command");
        return backedUp(road, [&] { return dat::BuildNewRecord(s, c); });
    });
}

int runNewList(const Args& args, Io& io) {
    std::string items;
    if (!requireValues(args, io, "new-list", {"name"}) ||
        !textOption(args, io, "new-list", "items", items)) {
        return kUsage;
    }
    std::string name = *args.value("name");
    return runWrite(
        args, io, "new-list",
        [&](editing::Road& road, Report& report) {
            Session& s = road.session();
            if (!editing::checkListName(s, name)) {
                return Outcome::Refused;
            }
            if (s.catalogue.findRow(kGlobalCommands, kGlobalCommands, name)) {
                return refuse(s, "Command or LIST already exists", name);
            }
            auto written = editing::bodyToWrite(road, "L", items);
            if (!written) {
                return Outcome::Refused;
            }
            report.add("added the LIST '" + name + "'");
            return backedUp(road, [&] { return dat::UpdateNewList(s, name, *written); });
        },
        true);
}

int runRenameList(const Args& args, Io& io) {
    if (!requireValues(args, io, "rename-list", {"name", "new-name"})) {
        return kUsage;
    }
    return runWrite(args, io, "rename-list", [&](editing::Road& road, Report& report) {
        Session& s = road.session();
        auto row = s.catalogue.findFileList(*args.value("name"));
        if (!row) {
            return refuse(s, "There is no LIST '" + *args.value("name") + "' in the file",
                          s.file.path);
        }
        return renameList(road, *row, *args.value("new-name"), report);
    });
}

void reportDroppedLists(const std::vector<std::string>& dropped, Report& report) {
    if (!dropped.empty()) {
        std::string names;
        for (const auto& name : dropped) {
            names += (names.empty() ? "" : ", ") + name;
        }
        report.add("removed " + std::to_string(dropped.size()) +
                   " LISTs that no remaining command uses: " + names);
    }
}

Outcome deleteCommand(editing::Road& road, const UserRow& row, Report& report) {
    Session& s = road.session();
    if (!road.automaticBackup()) {
        return Outcome::Refused;
    }
    s.catalogue.setFlagAll(false);
    s.catalogue.setFlag(row.id, true);
    std::vector<std::string> dropped;
    Outcome done = dat::deletethem(s, &dropped);
    s.catalogue.setFlagAll(false);
    report.add("deleted the command " + where(row));
    reportDroppedLists(dropped, report);
    return done;
}

Outcome deleteList(editing::Road& road, const UserRow& row, Report& report) {
    Session& s = road.session();
    if (!listMayChange(s, row, "Delete")) {
        return Outcome::Refused;
    }
    auto users = dat::commandsUsingList(s.catalogue, row.name);
    report.add("deleted the LIST '" + row.name + "'");
    if (!users.empty()) {
        report.add(std::to_string(users.size()) + " commands still refer to <" + row.name + ">");
    }
    return backedUp(road, [&] { return dat::DeleteList(s, row); });
}

// Delete of the Tools dialog: every chosen command, and the LISTs only they used.
int runDeleteChosen(const Args& args, Io& io) {
    auto selection = selectionFromArgs(args, io, "delete");
    if (!selection) {
        return kUsage;
    }
    if (!args.value("program") && !args.value("group") && !args.value("types")) {
        io.err << "parlavista-cli delete: choose the commands with --program, --group or --types\n"
                  "(every command: --types "
               << kAllTypeLetters << ")\n";
        return kUsage;
    }
    selection->commandsOnly = true;
    return runWrite(args, io, "delete", [&](editing::Road& road, Report& report) {
        Session& s = road.session();
        std::int64_t marked = markFromArgs(s.catalogue, *selection);
        if (marked == 0) {
            return refuse(s, editing::kNoMacros, editing::kNoMacrosTitle);
        }
        std::vector<std::string> dropped;
        Outcome done = editing::deleteMarked(road, &dropped);
        s.catalogue.setFlagAll(false);
        report.add("deleted " + std::to_string(marked) + " commands");
        reportDroppedLists(dropped, report);
        return done;
    });
}

int runDelete(const Args& args, Io& io) {
    if (args.all("name").size() != 1) {
        return runDeleteChosen(args, io);
    }
    if (!requireValues(args, io, "delete", {"program", "scope", "name"})) {
        return kUsage;
    }
    return runWrite(args, io, "delete", [&](editing::Road& road, Report& report) {
        Session& s = road.session();
        auto row = findTarget(s, args);
        if (!row) {
            return refuse(s, "Delete file error", s.file.path);
        }
        return row->isList() ? deleteList(road, *row, report) : deleteCommand(road, *row, report);
    });
}

int runRewrite(const Args& args, Io& io) {
    return runWrite(args, io, "rewrite", [&](editing::Road& road, Report& report) {
        Session& s = road.session();
        dat::FullRewritePlan plan;
        plan.traceWord = "rewrite";
        report.add("re-encoded " + std::to_string(s.file.commandCount) + " command records");
        return backedUp(road, [&] { return dat::runFullRewrite(s, plan); });
    });
}

const std::string kCommon =
    "\n  --home DIR   the program folder (savedat, trace.plv, error.log)\n\n"
    "Texts are UTF-8 and are written in the file's code page "
    "(Windows-1252);\nline breaks are written as CR LF. The file is "
    "parsed again after the write; if\nit does not read, the previous "
    "file is restored from savedat.\nA refused write (exit 3) changes no file: its checks "
    "come before the day's backup.";

const std::string kCurrentUser =
    "\n\nWith --current-user (and --dragon-root DIR, else $PARLAVISTA_DRAGON_ROOT) in place "
    "of\nFILE, or with a FILE that is that user's file, the current Dragon user's mycmds.dat "
    "is\nchanged as the window changes it: checked against the catalogue, backed up once a\n"
    "day into the program folder, and taken over by Dragon through its merge program\n"
    "(exit 4 when Dragon did not take it over; the file is written).";

const std::string kYes =
    "\n\nA LIST that commands use is renamed or deleted only with --yes, the answer to the\n"
    "window's question; without it the question is shown and the command exits with 3.";

// The write target's flags and --yes.
const std::set<std::string> kWithYes = {"current-user", "yes"};

const bool registered =
    registerCommand({"set-body",
                     "set-body FILE|--current-user --program P --scope S --name N (--body TEXT | "
                     "--body-file F)",
                     "replace the body of a command or the items of a LIST",
                     "Replaces the body of the KEYS, SCRIPT, Advanced Scripting or Plain Text "
                     "command N\nof Program P and Scope S, or the items of the LIST N (Program "
                     "and Scope\n\"Global Commands\"), one per line. The body is written as "
                     "the window's Save\nChanges writes it: except for KEYS and Plain Text it "
                     "ends in exactly one line\nbreak, and a SCRIPT body must pass Dragon's "
                     "script check (exit 3 with the\nline of the first error)." +
                         kCommon + kCurrentUser,
                     withWriteTargetOptions({"program", "scope", "name", "body", "body-file"}),
                     kWriteTargetFlags, runSetBody}) &&
    registerCommand(
        {"set",
         "set FILE|--current-user --program P --scope S --name N [--new-name X] "
         "[--description D] [--group G] [--yes]",
         "rename a command or change its description or Group",
         "Changes the name, description or Group of the command N of Program P and "
         "Scope S\n(a LIST of the global Program and Scope is renamed)." +
             kCommon + kCurrentUser + kYes,
         withWriteTargetOptions({"program", "scope", "name", "new-name", "description", "group"}),
         kWithYes, runSet}) &&
    registerCommand({"new-command",
                     "new-command FILE|--current-user --program P --scope S --name N --type "
                     "K|S|A|P (--body TEXT | --body-file F) [--description D] [--group G]",
                     "add a command",
                     "Adds a KEYS (K), SCRIPT (S), Advanced Scripting (A) or Plain Text (P) "
                     "command as\nthe last command of the file. A command of another Program "
                     "than \"Global Commands\"\ntakes its application and window strings from a "
                     "command of the same Program and\nScope. The body is prepared as set-body "
                     "prepares it." +
                         kCommon + kCurrentUser,
                     withWriteTargetOptions({"program", "scope", "name", "type", "body",
                                             "body-file", "description", "group"}),
                     kWriteTargetFlags, runNewCommand}) &&
    registerCommand(
        {"new-list", "new-list FILE|--current-user --name N (--items TEXT | --items-file F)",
         "add a LIST",
         "Adds the LIST N with the given items, one per line." + kCommon + kCurrentUser +
             " Dragon takes a new LIST over with\nthe next command written.",
         withWriteTargetOptions({"name", "items", "items-file"}), kWriteTargetFlags, runNewList}) &&
    registerCommand({"rename-list",
                     "rename-list FILE|--current-user --name OLD --new-name NEW [--yes]",
                     "rename a LIST",
                     "Renames the LIST OLD; the commands that refer to it keep their names." +
                         kCommon + kCurrentUser + kYes,
                     withWriteTargetOptions({"name", "new-name"}), kWithYes, runRenameList}) &&
    registerCommand({"delete",
                     "delete FILE|--current-user (--program P --scope S --name N [--yes] | "
                     "selection)",
                     "delete a command or a LIST, or every chosen command",
                     "Deletes the command N of Program P and Scope S, and the LISTs it referred "
                     "to that no\nremaining command uses; or, in Program and Scope \"Global "
                     "Commands\", the LIST N.\n\nWithout one --name, deletes every command "
                     "that the selection options choose, as\nDelete in the Tools menu does: "
                     "--program P [--scope S [--name N ...]], --group G,\n--types LETTERS "
                     "(at least one of them; every command: --types KSLTPRXA)." +
                         kCommon + kCurrentUser + kYes,
                     withWriteTargetOptions({"program", "scope", "name", "group", "types"}),
                     kWithYes, runDelete}) &&
    registerCommand({"rewrite",
                     "rewrite FILE",
                     "re-encode the whole file as it is",
                     "Writes every command record again with the shortest length prefixes; the "
                     "LISTs\nare copied as they stand." +
                         kCommon,
                     {"home"},
                     {},
                     runRewrite});

} // namespace
} // namespace plv::cli
