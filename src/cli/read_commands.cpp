// The commands that read a command file: info and list.
#include "cli/workspace.h"

#include <nlohmann/json.hpp>
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

// Keys in the catalogue's column order, so the output reads like the table.
nlohmann::ordered_json rowJson(const UserRow& r) {
    return {
        {"ID", r.id},
        {"filename", r.filename},
        {"menu", r.menu},
        {"state", r.state},
        {"name", r.name},
        {"Type", r.type},
        {"script", r.script},
        {"scope", r.scope},
        {"owner", r.owner},
        {"lists", r.lists},
        {"offset", r.offset},
        {"offsetbody", r.offsetbody},
        {"description", r.description},
        {"states", r.states},
        {"graphicsize", r.graphicsize},
        {"Global", r.global},
        {"noglobals", r.noglobals},
        {"sleeping", r.sleeping},
        {"singleline", r.singleline},
        {"globalsort", r.globalsort},
        {"listsort", r.listsort},
        {"pathcode", r.pathcode},
        {"dupe", r.dupe},
        {"PDescript", r.pdescript},
        {"CompanyName", r.companyName},
        {"ClassName", r.className},
        {"encrypted", r.encrypted},
        {"flag", r.flag},
        {"listcopy", r.listcopy},
    };
}

// One row a line. A catalogue kept with --db may hold text that is not UTF-8: it is
// shown with replacement characters rather than failing the whole listing.
std::string jsonLine(const UserRow& r) {
    return rowJson(r).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
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
            io.out << (i ? ",\n" : "\n") << jsonLine(rows[i]);
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
