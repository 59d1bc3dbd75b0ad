#pragma once

#include "datfile/contents.h"
#include "datfile/line_diff.h"

#include <optional>
#include <string>
#include <vector>

// What was added, removed and changed between two command files. A command is the same
// command in both when its Program, Scope and name agree (letter case aside, as the catalogue
// compares them); a command whose type changed, a KEYS command converted to Advanced
// Scripting say, is a change of that command, and so is a name spelled in other letter case.
// A LIST is the same LIST by its name.
namespace plv::dat {

enum class Field { Name, Type, Description, Group, States, Body, Items };

// "name", "type", "description", "Group", "state names", "body", "items".
std::string fieldName(Field field);

struct FieldChange {
    Field field = Field::Body;
    std::string a; // Name, Type (the letters), Description, Group, Body: the value in each file
    std::string b;
    std::vector<std::string> aList; // States, Items
    std::vector<std::string> bList;
    std::vector<DiffHunk> hunks; // Body, Items: the lines that differ. A body may differ
                                 // only in what its text does not show (the formatting of
                                 // Text & Graphics); then there are none.
};

struct EntryChange {
    enum class Kind { Added, Removed, Changed };
    Kind kind = Kind::Changed;
    std::string program; // a LIST's are "Global Commands"
    std::string scope;
    std::string name;
    std::string type;                // the letter in the second file (in the first when removed)
    std::size_t items = 0;           // an added or removed LIST's
    std::vector<FieldChange> fields; // Changed: in the order of Field
};

struct HeaderChange {
    std::string field; // "version", "language"
    std::string a;
    std::string b;
};

struct Comparison {
    std::vector<HeaderChange> header;
    std::vector<EntryChange> commands; // global ones first, then by Program, Scope, name
    std::vector<EntryChange> lists;    // by name
    bool same() const { return header.empty() && commands.empty() && lists.empty(); }
};

// Compares only the commands (and LISTs) of this Program and Scope, when given.
struct CompareFilter {
    std::optional<std::string> program;
    std::optional<std::string> scope;
};

// The unified line diff of a Body or Items change, each line started by `indent`.
std::string diffText(const FieldChange& change, const std::string& indent = "");

Comparison compareContents(const FileContents& a, const FileContents& b,
                           const CompareFilter& filter = {});

} // namespace plv::dat
