#pragma once

#include "catalogue/user_row.h"

#include <iosfwd>
#include <string>
#include <vector>

// The text outputs of marked catalogue rows. Each writer takes the rows in the catalogue's
// export order (global rows first, then by Program, Scope, commands before LISTs, name) and
// writes UTF-8 text whose every line ends with CR LF; the caller decides where it goes.
namespace plv::exports {

// Programs as MENU blocks, Scopes as STATE blocks, commands as COMMAND blocks naming their
// type and body, LISTs as LIST blocks of quoted items; indented with TABs.
void writePseudoDvc(const std::vector<UserRow>& rows, std::ostream& out);

// The names, under a Program-and-Scope heading wherever those change.
void writeReport(const std::vector<UserRow>& rows, std::ostream& out);

// One quoted line per row: Program, Scope, type letter, name, Group, description and the
// first line of the body.
void writeCsv(const std::vector<UserRow>& rows, std::ostream& out);

// The pseudo-DVC text of the rows that the old DVC language knows (KEYS, SCRIPT, LIST);
// false, writing nothing, when there are none.
bool writeDvcListing(const std::vector<UserRow>& rows, std::ostream& out);

// What "Print Current Command" prints: Program, Scope and name lines, an empty line, then
// the body as shown.
void writeCurrentCommand(const std::string& program, const std::string& scope,
                         const std::string& name, const std::string& body, std::ostream& out);

} // namespace plv::exports
