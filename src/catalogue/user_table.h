#pragma once

#include <cstddef>
#include <string>

namespace plv {

class Catalogue;

// Table `user` as every caller sees it: one row per command or LIST with all its columns.
// It is kept in two parts, so that moving the positions of the rows behind a changed record
// does not rewrite the rows with their bodies: the positions `offset` and `offsetbody` in a
// narrow table of their own (`positions`), every other column in `userrows`, both keyed by
// ID. `user` is a view that joins them; inserts, updates and deletes on it reach the parts
// through triggers.
namespace user_table {

inline constexpr const char* kRows = "userrows";
inline constexpr const char* kPositions = "positions";

// Every column of `user`, quoted and separated by commas, in the table's order.
const std::string& columns();
// The columns of `userrows` but ID, for an insert.
const std::string& rowColumns();
std::size_t rowColumnCount();

// Creates the parts, the view and its triggers when absent; a catalogue from before the
// split keeps its rows.
void create(Catalogue& catalogue);

} // namespace user_table
} // namespace plv
