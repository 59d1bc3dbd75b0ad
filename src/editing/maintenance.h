#pragma once

#include "catalogue/catalogue.h"
#include "datfile/rewrite.h"
#include "datfile/session.h"
#include "platform/trace.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Upkeep of the working database global.mdb: compaction once it has grown large, and the
// reset that makes the next start discover Dragon afresh.
namespace plv::editing {

// A database file of more than this many bytes is compacted at exit.
inline constexpr std::uint64_t kCompactThreshold = 3000000;

bool needsCompaction(std::uint64_t size, bool force);

// Compacts the database file at `path` when it has grown past the threshold, or always
// with `force`: `close` releases the open catalogue, the database is rewritten without
// free space into a temporary file beside it, which then replaces it by a rename, and
// `reopen` opens it again. A failure leaves the old file in place. True when compacted.
bool compactDatabase(const std::string& path, Trace& trace, bool force,
                     const std::function<void()>& close, const std::function<void()>& reopen);

// The same for a catalogue held in place: it is closed and opened again in the same
// storage, so references to it stay valid.
bool compactCatalogue(std::optional<Catalogue>& catalogue, Trace& trace, bool force);

// "&Re-specify DNS path" (filereset): after a question (No by default), empties the
// catalogue and forgets the Dragon user, shows "You must restart Parlavista for changes to
// apply"; the program then ends.
inline constexpr const char* kFileResetQuestion =
    "Empty Parlavista's catalogue and end the program?\n\nAt the next start Parlavista finds "
    "Dragon and its current user afresh and reads the command file again.";
dat::Outcome fileReset(Session& session);

} // namespace plv::editing
