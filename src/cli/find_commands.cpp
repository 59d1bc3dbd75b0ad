// The commands that look things up as the window's Find and follow views do: find and
// follow. Both parse the file into a private catalogue and print rows as
// Program, Scope, name and type, one a line, tab-separated.
#include "browser/find.h"
#include "browser/follow.h"
#include "catalogue/selection.h"
#include "cli/workspace.h"
#include "platform/codepage.h"

#include <nlohmann/json.hpp>
#include <ostream>
#include <set>

namespace plv::cli {
namespace {

using browser::FindHit;
using browser::FindIn;

std::string rowText(const UserRow& row) {
    return row.menu + "\t" + row.state + "\t" + row.name + "\t" + row.type;
}

// The first positional argument parsed into a private catalogue; nothing (and the exit
// status in `status`) when it cannot be.
std::unique_ptr<Workspace> parsedFile(const Args& args, Io& io, int& status) {
    auto w = Workspace::open(args, io, ":memory:");
    if (!w) {
        status = kFailed;
        return nullptr;
    }
    status = w->openCommandFile(args.positional[0]);
    return status == kOk ? std::move(w) : nullptr;
}

std::optional<FindIn> findColumn(const std::string& word) {
    if (word == "name") {
        return FindIn::Name;
    }
    if (word == "scope") {
        return FindIn::Scope;
    }
    if (word == "body") {
        return FindIn::Body;
    }
    return std::nullopt;
}

// Every hit in the order Find and Find Again visit them.
std::vector<FindHit> everyHit(const browser::Finder& finder, const browser::RowAdmits& admits) {
    std::vector<FindHit> hits;
    std::optional<IndexKey> from;
    while (auto hit = finder.next(from, true, admits)) {
        from = IndexKey::of(hit->row);
        hits.push_back(std::move(*hit));
    }
    return hits;
}

void printHits(std::ostream& out, const std::vector<FindHit>& hits, bool json) {
    if (!json) {
        for (const auto& hit : hits) {
            out << rowText(hit.row);
            if (hit.position > 0) {
                out << "\t" << hit.position << "\t" << hit.length;
            }
            out << "\n";
        }
        return;
    }
    auto array = nlohmann::json::array();
    for (const auto& hit : hits) {
        nlohmann::json o = {{"menu", hit.row.menu},
                            {"state", hit.row.state},
                            {"name", hit.row.name},
                            {"Type", hit.row.type}};
        if (hit.position > 0) {
            o["position"] = hit.position;
            o["length"] = hit.length;
        }
        array.push_back(std::move(o));
    }
    out << array.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

int runFind(const Args& args, Io& io) {
    auto in = args.value("in");
    auto column = in ? findColumn(*in) : std::nullopt;
    // An empty text is in every row; the window's Find does nothing with it.
    if (args.positional.size() != 2 || !column || args.positional[1].empty()) {
        io.err << "usage: parlavista-cli find FILE --in name|scope|body TEXT [--match-case] "
                  "[--types LETTERS] [--json]\n";
        return kUsage;
    }
    std::string types = typeLetters(args.value("types").value_or(kAllTypeLetters));
    if (types.empty()) {
        io.err << "parlavista-cli find: --types takes letters of " << kAllTypeLetters << "\n";
        return kUsage;
    }
    int status = kOk;
    auto w = parsedFile(args, io, status);
    if (!w) {
        return status;
    }
    browser::Finder finder(w->catalogue(), w->ui());
    finder.setText(args.positional[1]);
    finder.setColumn(*column);
    finder.setMatchCase(args.flag("match-case"));
    auto hits = everyHit(finder, [&types](const UserRow& row) {
        return row.type.size() == 1 && types.find(row.type[0]) != std::string::npos;
    });
    printHits(io.out, hits, args.flag("json"));
    return kOk;
}

// The command and the LISTs its name refers to; the refusals are the window's.
int followCommand(Workspace& w, const std::string& name, const std::string& program,
                  const std::string& scope, Io& io) {
    Catalogue& c = w.catalogue();
    std::optional<UserRow> row = c.findCommand(program, scope, name);
    if (!row) {
        row = c.findList(program, scope, name);
        if (!row) {
            io.err << "parlavista-cli follow: no command '" << name << "' in " << program << " / "
                   << scope << "\n";
            return kFailed;
        }
    }
    browser::Follow follow;
    if (follow.toggleCommand(row, w.ui()) != browser::FollowChange::TurnedOn) {
        return kFailed;
    }
    io.out << rowText(*row) << "\n";
    // A LIST named twice in the command's name is listed once, as the window lists it.
    std::set<std::string> seen;
    for (const auto& list : browser::listNamesOf(browser::tokenizeCommandName(name))) {
        if (!seen.insert(foldCase(list)).second) {
            continue;
        }
        auto found = c.findList(program, scope, list);
        if (!found) {
            found = c.findFileList(list);
        }
        if (found) {
            io.out << rowText(*found) << "\n";
        } else {
            io.err << "parlavista-cli follow: the file has no LIST '" << list << "'\n";
        }
    }
    return kOk;
}

// The LIST and the commands whose names refer to it, of one Program (and Scope) or of all.
int followList(Workspace& w, const std::string& name, const std::optional<std::string>& program,
               const std::optional<std::string>& scope, Io& io) {
    Catalogue& c = w.catalogue();
    std::optional<UserRow> row = c.findFileList(name);
    if (!row) {
        io.err << "parlavista-cli follow: the file has no LIST '" << name << "'\n";
        return kFailed;
    }
    browser::Follow follow;
    follow.toggleList(row, w.ui()); // a LIST: never refused
    io.out << rowText(*row) << "\n";
    // Every name holding the LIST's name, narrowed by the window's own filter: names that
    // refer to the LIST and commands named like it.
    browser::Finder finder(c, w.ui());
    finder.setText(row->name);
    auto users = everyHit(finder, [&](const UserRow& r) {
        return !r.isList() && follow.admits(r) && (!program || equalsNoCase(r.menu, *program)) &&
               (!scope || equalsNoCase(r.state, *scope));
    });
    for (const auto& hit : users) {
        io.out << rowText(hit.row) << "\n";
    }
    return kOk;
}

int runFollow(const Args& args, Io& io) {
    auto command = args.value("command");
    auto list = args.value("list");
    auto program = args.value("program");
    auto scope = args.value("scope");
    bool fits = args.positional.size() == 1 && command.has_value() != list.has_value() &&
                (!scope || program) && (!command || (program && scope));
    if (!fits) {
        io.err << "usage: parlavista-cli follow FILE --command NAME --program P --scope S\n"
                  "       parlavista-cli follow FILE --list NAME [--program P [--scope S]]\n";
        return kUsage;
    }
    int status = kOk;
    auto w = parsedFile(args, io, status);
    if (!w) {
        return status;
    }
    if (command) {
        return followCommand(*w, *command, *program, *scope, io);
    }
    return followList(*w, *list, program, scope, io);
}

const bool registered =
    registerCommand(
        {"find",
         "find FILE --in name|scope|body TEXT [--match-case] [--types LETTERS] [--json] "
         "[--home DIR]",
         "every command and LIST whose name, Scope or body contains TEXT, in Find's order",
         "Parses FILE and prints every hit in the order the window's Find and Find Again\n"
         "visit them: global rows first, then by Program, Scope, commands before LISTs, and\n"
         "name. Each line holds Program, Scope, name and type letter, tab-separated; body hits\n"
         "add where TEXT starts in the body (from 1) and its length, in characters. Case is\n"
         "ignored, accented letters included, unless --match-case.\n\n"
         "  --in WHAT       name, scope or body\n"
         "  --match-case    compare exactly\n"
         "  --types LETTERS only these types (of KSLTPRXA), as the View menu's ticks\n"
         "  --json          a JSON array of objects with menu, state, name, Type and, for body\n"
         "                  hits, position and length\n"
         "  --home DIR      the program folder",
         {"in", "types", "home"},
         {"match-case", "json"},
         runFind}) &&
    registerCommand(
        {"follow",
         "follow FILE (--command NAME --program P --scope S | --list NAME [--program P "
         "[--scope S]]) [--home DIR]",
         "a command with the LISTs it uses, or a LIST with the commands that use it",
         "Parses FILE and prints, as Program, Scope, name and type letter:\n"
         "  --command NAME   the command of that Program and Scope, then each LIST its name\n"
         "                   refers to (\"<list>\")\n"
         "  --list NAME      the LIST, then every command whose name refers to it or is its\n"
         "                   name, of the Program (and Scope) given, else of all Programs\n"
         "  --home DIR       the program folder",
         {"command", "list", "program", "scope", "home"},
         {},
         runFollow});

} // namespace
} // namespace plv::cli
