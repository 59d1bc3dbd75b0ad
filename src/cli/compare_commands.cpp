// diff: the commands and LISTs added, removed and changed between two command files.
#include "catalogue/user_row.h"
#include "cli/workspace.h"
#include "datfile/compare.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace plv::cli {
namespace {

using dat::EntryChange;
using dat::Field;
using dat::FieldChange;

// The statuses of `diff`, which scripts that compare files expect.
constexpr int kSame = 0;
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

// Quoted as a JSON string, so that line breaks, tabs and quotes inside show escaped and a
// value stays on its line.
std::string quoted(const std::string& s) {
    return nlohmann::json(s).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string quotedList(const std::vector<std::string>& values) {
    std::string out;
    for (const auto& v : values) {
        out += (out.empty() ? "" : ", ") + quoted(v);
    }
    return out.empty() ? "(none)" : out;
}

std::string typeName(const std::string& letter) {
    std::string name = typeDisplayName(letter);
    return name.empty() ? "type " + quoted(letter) : name;
}

const char* kindWord(EntryChange::Kind kind) {
    switch (kind) {
    case EntryChange::Kind::Added:
        return "added";
    case EntryChange::Kind::Removed:
        return "removed";
    case EntryChange::Kind::Changed:
        break;
    }
    return "changed";
}

void printField(std::ostream& out, const FieldChange& f) {
    out << "  " << dat::fieldName(f.field) << ":";
    switch (f.field) {
    case Field::Type:
        out << " " << typeName(f.a) << " -> " << typeName(f.b) << "\n";
        return;
    case Field::Name:
    case Field::Description:
    case Field::Group:
        out << " " << quoted(f.a) << " -> " << quoted(f.b) << "\n";
        return;
    case Field::States:
        out << " " << quotedList(f.aList) << " -> " << quotedList(f.bList) << "\n";
        return;
    case Field::Body:
    case Field::Items:
        break;
    }
    if (f.hunks.empty()) {
        out << " the same lines; the bytes behind them differ\n";
        return;
    }
    out << "\n" << dat::diffText(f, "    ");
}

void printCommand(std::ostream& out, const EntryChange& e) {
    out << kindWord(e.kind) << " command: " << e.program << " / " << e.scope << " / "
        << quoted(e.name);
    if (e.kind != EntryChange::Kind::Changed) {
        out << " (" << typeName(e.type) << ")";
    }
    out << "\n";
    for (const auto& f : e.fields) {
        printField(out, f);
    }
}

void printList(std::ostream& out, const EntryChange& e) {
    out << kindWord(e.kind) << " LIST: " << quoted(e.name);
    if (e.kind != EntryChange::Kind::Changed) {
        out << " (" << e.items << (e.items == 1 ? " item)" : " items)");
    }
    out << "\n";
    for (const auto& f : e.fields) {
        printField(out, f);
    }
}

void printText(std::ostream& out, const dat::Comparison& c, const std::string& a,
               const std::string& b) {
    if (c.same()) {
        return;
    }
    out << "--- " << a << "\n+++ " << b << "\n";
    for (const auto& h : c.header) {
        out << "header: " << h.field << " " << h.a << " -> " << h.b << "\n";
    }
    for (const auto& e : c.commands) {
        printCommand(out, e);
    }
    for (const auto& e : c.lists) {
        printList(out, e);
    }
}

nlohmann::ordered_json fieldJson(const FieldChange& f) {
    nlohmann::ordered_json j = {{"field", dat::fieldName(f.field)}};
    if (f.field == Field::States || f.field == Field::Items) {
        j["a"] = f.aList;
        j["b"] = f.bList;
    } else {
        j["a"] = f.a;
        j["b"] = f.b;
    }
    if (f.field == Field::Body || f.field == Field::Items) {
        j["diff"] = dat::diffText(f);
    }
    return j;
}

nlohmann::ordered_json entryJson(const EntryChange& e, bool list) {
    nlohmann::ordered_json j = {{"change", kindWord(e.kind)}};
    if (!list) {
        j["program"] = e.program;
        j["scope"] = e.scope;
    }
    j["name"] = e.name;
    if (!list) {
        j["type"] = e.type;
    } else if (e.kind != EntryChange::Kind::Changed) {
        j["items"] = e.items;
    }
    if (e.kind == EntryChange::Kind::Changed) {
        auto fields = nlohmann::ordered_json::array();
        for (const auto& f : e.fields) {
            fields.push_back(fieldJson(f));
        }
        j["fields"] = std::move(fields);
    }
    return j;
}

nlohmann::ordered_json fileJson(const std::string& path, const dat::FileContents& f) {
    return {{"file", path}, {"version", f.versionName}, {"language", f.languageName}};
}

void printJson(std::ostream& out, const dat::Comparison& c, const std::string& aPath,
               const dat::FileContents& a, const std::string& bPath, const dat::FileContents& b) {
    nlohmann::ordered_json j = {
        {"a", fileJson(aPath, a)}, {"b", fileJson(bPath, b)}, {"same", c.same()}};
    auto header = nlohmann::ordered_json::array();
    for (const auto& h : c.header) {
        header.push_back({{"field", h.field}, {"a", h.a}, {"b", h.b}});
    }
    j["header"] = std::move(header);
    for (bool list : {false, true}) {
        auto entries = nlohmann::ordered_json::array();
        for (const auto& e : list ? c.lists : c.commands) {
            entries.push_back(entryJson(e, list));
        }
        j[list ? "lists" : "commands"] = std::move(entries);
    }
    out << j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

int runDiff(const Args& args, Io& io) {
    if (args.positional.size() != 2) {
        io.err << "usage: parlavista-cli diff A B [--json] [--program P] [--scope S]\n";
        return kUsage;
    }
    auto w = Workspace::open(args, io, ":memory:");
    if (!w) {
        return kTrouble;
    }
    const std::string& aPath = args.positional[0];
    const std::string& bPath = args.positional[1];
    auto a = dat::readContentsOf(w->session(), aPath);
    if (!a) {
        return kTrouble;
    }
    auto b = dat::readContentsOf(w->session(), bPath);
    if (!b) {
        return kTrouble;
    }
    auto c = dat::compareContents(*a, *b, {args.value("program"), args.value("scope")});
    if (args.flag("json")) {
        printJson(io.out, c, aPath, *a, bPath, *b);
    } else {
        printText(io.out, c, aPath, bPath);
    }
    return c.same() ? kSame : kDifferent;
}

const bool registered = registerCommand(
    {"diff",
     "diff A B [--json] [--program P] [--scope S] [--home DIR]",
     "the commands and LISTs added, removed and changed between two command files",
     "Compares command file B with A: a line for each command or LIST added or removed,\n"
     "and for each one changed a block naming the fields that differ (name, type,\n"
     "description, Group, state names, body; a LIST's name and items), the body or items\n"
     "shown as a unified line diff. A command is the same command in both files when its\n"
     "Program, Scope and name agree, letter case aside, so a change of type or of the\n"
     "name's letter case is a change of that command; a LIST is the same LIST by its\n"
     "name. Records marked as skipped are left out, as a parse leaves them out. Files of\n"
     "different format versions or languages compare by content, the header difference\n"
     "first. Prints nothing when the files agree.\n\n"
     "  --json        one JSON object: both files, the header differences, \"commands\"\n"
     "                and \"lists\", each change with its fields and their two values\n"
     "  --program P   only the commands of Program P (LISTs are Global Commands)\n"
     "  --scope S     only the commands of Scope S\n"
     "  --home DIR    the program folder (keynames, error.log)\n\n"
     "Exit status, as diff's: 0 the files agree, 1 they differ, 2 a file does not exist\n"
     "or does not parse (error.log is written in the program folder); 64 a usage error.",
     {"program", "scope", "home"},
     {"json"},
     runDiff});

} // namespace
} // namespace plv::cli
