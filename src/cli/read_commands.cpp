// The commands that read a command file: info and list.
#include "cli/json.h"
#include "cli/workspace.h"

#include <ostream>

namespace plv::cli {
namespace {

int runInfo(const Args& args, Io& io) {
    std::string file;
    if (!oneFileArgument(args, io, "info", file)) {
        return kUsage;
    }
    auto w = Workspace::open(args, io, ":memory:");
    if (!w) {
        return kFailed;
    }
    if (int status = w->openCommandFile(file); status != kOk) {
        return status;
    }
    const FileInfo& f = w->session().file;
    io.out << "version: " << f.versionName << "\n"
           << "language: " << f.languageName << "\n"
           << "commands: " << f.commandCount << "\n"
           << "lists: " << f.listCount << "\n"
           << "OffsetLists: " << w->catalogue().parameterNumber("OffsetLists").value_or(0) << "\n";
    return kOk;
}

std::string rowJson(const UserRow& r) {
    auto num = [](std::int64_t v) { return std::to_string(v); };
    auto yes = [](bool v) { return std::string(v ? "true" : "false"); };
    const std::pair<const char*, std::string> fields[] = {
        {"ID", num(r.id)},
        {"filename", jsonString(r.filename)},
        {"menu", jsonString(r.menu)},
        {"state", jsonString(r.state)},
        {"name", jsonString(r.name)},
        {"Type", jsonString(r.type)},
        {"script", jsonString(r.script)},
        {"scope", jsonString(r.scope)},
        {"owner", jsonString(r.owner)},
        {"lists", num(r.lists)},
        {"offset", num(r.offset)},
        {"offsetbody", num(r.offsetbody)},
        {"description", jsonString(r.description)},
        {"states", jsonString(r.states)},
        {"graphicsize", num(r.graphicsize)},
        {"Global", yes(r.global)},
        {"noglobals", yes(r.noglobals)},
        {"sleeping", yes(r.sleeping)},
        {"singleline", yes(r.singleline)},
        {"globalsort", jsonString(r.globalsort)},
        {"listsort", jsonString(r.listsort)},
        {"pathcode", jsonString(r.pathcode)},
        {"dupe", yes(r.dupe)},
        {"PDescript", num(r.pdescript)},
        {"CompanyName", num(r.companyName)},
        {"ClassName", num(r.className)},
        {"encrypted", yes(r.encrypted)},
        {"flag", yes(r.flag)},
        {"listcopy", yes(r.listcopy)},
    };
    std::string out = "{";
    for (const auto& [key, value] : fields) {
        out += (out.size() > 1 ? "," : "") + jsonString(key) + ":" + value;
    }
    return out + "}";
}

// Control characters of the body are shown escaped so that each row stays one line.
std::string oneLine(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += c;
        }
    }
    return out;
}

void printTextRow(std::ostream& out, const UserRow& r) {
    out << r.id << "\t" << r.menu << "\t" << r.state << "\t" << r.name << "\t" << r.type << "\t"
        << r.owner << "\t" << r.offset << "\t" << r.offsetbody << "\t" << oneLine(r.script) << "\n";
}

int runList(const Args& args, Io& io) {
    std::string file;
    if (!oneFileArgument(args, io, "list", file)) {
        return kUsage;
    }
    auto w = Workspace::open(args, io, args.value("db").value_or(":memory:"));
    if (!w) {
        return kFailed;
    }
    if (int status = w->openCommandFile(file); status != kOk) {
        return status;
    }
    auto rows = w->catalogue().allRows();
    if (args.flag("json")) {
        io.out << "[";
        for (std::size_t i = 0; i < rows.size(); ++i) {
            io.out << (i ? ",\n" : "\n") << rowJson(rows[i]);
        }
        io.out << "\n]\n";
        return kOk;
    }
    io.out << "ID\tProgram\tScope\tname\tType\tGroup\toffset\toffsetbody\tscript\n";
    for (const auto& r : rows) {
        printTextRow(io.out, r);
    }
    return kOk;
}

const bool registered =
    registerCommand({"info",
                     "info FILE [--home DIR]",
                     "version, language, command and LIST counts of a command file",
                     "Parses FILE and prints its version name, language name, the number of "
                     "command\nrecords, the number of LISTs and the position of the LIST "
                     "section (OffsetLists).\n\n  --home DIR   the program folder",
                     {"home"},
                     {},
                     runInfo}) &&
    registerCommand({"list",
                     "list FILE [--json] [--db PATH] [--home DIR]",
                     "every catalogued command and LIST of a command file",
                     "Parses FILE into a catalogue and prints every row in file order.\n\n"
                     "  --json       a JSON array of objects keyed by the catalogue's column "
                     "names\n  --db PATH    keep the catalogue in this database file (default: "
                     "in memory)\n  --home DIR   the program folder",
                     {"db", "home"},
                     {"json"},
                     runList});

} // namespace
} // namespace plv::cli
