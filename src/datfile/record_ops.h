#pragma once

#include "datfile/rewrite.h"

#include <string>
#include <vector>

// The record-level write operations: create a command or LIST, change a command's name,
// description or Group, rename a LIST, change a KEYS command's type, delete a LIST, delete
// commands. Texts are UTF-8; each operation converts them to the file's code page and
// refuses what it cannot hold. The catalogue's positions are stale afterwards: the caller
// refreshes (refreshAfterWrite).
namespace plv::dat {

// The LIST names that a command name refers to ("open <apps>" -> "apps"), in order.
std::vector<std::string> ExtractListRefs(const std::string& name);

struct NewCommand {
    std::string name;
    std::string type; // "K", "S", "A", "P", or "L" for a LIST
    std::string program;
    std::string scope;
    std::string description;
    std::string group = "User-defined"; // stands for the empty Group
    std::string body;                   // the body text, or the LIST's items one per line
};

// Writes the new command as the last command record, in the layout of the file; a
// non-global command takes its application and window strings from a catalogued command
// of the same Program and Scope. A LIST goes to UpdateNewList.
Outcome BuildNewRecord(Session& session, const NewCommand& command);
// Inserts the encoded record before the LIST section and counts it.
Outcome UpdateNewCommand(Rewrite& engine, const std::string& record);
// Appends a LIST after the last LIST record and counts it.
Outcome UpdateNewList(Session& session, const std::string& name, const std::string& text);
// Replaces a command's name (and with it its LIST references), description and Group
// ("User-defined" is written as the empty Group); a LIST row is renamed instead.
Outcome UpdateFirstThings(Session& session, const UserRow& row, const std::string& newName,
                          const std::string& description, const std::string& group);
Outcome UpdateListRename(Session& session, const UserRow& row, const std::string& newName);

enum class TypeChange { ToPlainText, ToAdvancedScripting };
// Turns a KEYS command that is not encrypted into a Plain Text or Advanced Scripting one;
// the body stays.
Outcome Updatechangetype(Session& session, const UserRow& row, TypeChange change);

// Cuts a LIST record out of the file (a display copy stands for the file's LIST).
Outcome DeleteList(Session& session, const UserRow& row);
// Marks with `noglobals` the file's LISTs that the named commands use.
void MarkReferencedLists(Session& session, const std::vector<std::string>& commandNames);
// Full rewrite without the commands whose rows have `flag`. The LISTs those commands
// referred to go too when no command left in the file refers to them; their names are put
// into `droppedLists`. Every other LIST stays.
Outcome deletethem(Session& session, std::vector<std::string>* droppedLists = nullptr);

// The catalogued commands whose names refer to the LIST (their bodies left out).
std::vector<UserRow> commandsUsingList(const Catalogue& catalogue, const std::string& list);

} // namespace plv::dat
