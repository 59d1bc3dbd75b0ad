#pragma once

#include "datfile/diagnostics.h"
#include "datfile/keynames.h"
#include "datfile/rewrite.h"

#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The full rewrite: a fresh header, every command record re-encoded from the input in the
// target layout, then the LIST section. Records that are not catalogued (skip-bit records)
// are carried over in their place.
namespace plv::dat {

// The running operation's change to the fields of a flagged row's record (raw file bytes).
// What it reports goes to `log`, the rewrite's "Parlavista.log".
using Substitution =
    std::function<void(const UserRow& row, CommandRecord& record, std::ostream& log)>;

class FullRewrite;

struct FullRewritePlan {
    std::string traceWord;
    std::optional<Layout> target; // the file's own layout when not given
    Substitution substitution;    // applied to the records of rows with `flag`
    bool dropFlagged = false;     // flagged commands are left out
    // Builds the LIST section in place of the copy of the old one; false refuses.
    std::function<bool(FullRewrite&)> rebuildLists;
};

class FullRewrite {
  public:
    FullRewrite(Rewrite& engine, Layout target) : e_(engine), target_(target) {}

    Rewrite& engine() { return e_; }
    Layout target() const { return target_; }

    // The header block, the logs "Parlavista.log" and "duplicate.log" (created afresh),
    // the key names; the output holds the header.
    void BeginFullRewrite();
    // Re-encodes the record of a catalogued row into a staging block, places it at the
    // output position and counts it.
    void AppendReencodedCommand(CommandRecord& record, const UserRow& row,
                                const Substitution& substitution);
    // The record walked with the source layout, substituted when its row is flagged, written
    // in the target layout.
    void ReencodeCommand(CommandRecord& record, const UserRow& row,
                         const Substitution& substitution, ByteWriter& out);
    // A record without a catalogue row: its own bytes when the layout stays, else the same
    // fields in the target layout.
    void carryOver(const CommandRecord& record);
    void ReencodeList(const ListRecord& record);
    void end();

    const KeyNames* keys() const { return keys_ ? &*keys_ : nullptr; }
    std::ofstream& log() { return log_; }
    // "duplicate.log": records that a scratch catalogue already holds.
    DuplicateLog& duplicates() { return duplicates_; }
    std::uint32_t commandsWritten() const { return commandsWritten_; }
    std::uint32_t listsWritten() const { return listsWritten_; }
    std::int64_t outputPosition() const {
        return static_cast<std::int64_t>(e_.output().size()) + 1;
    }
    // The names (UTF-8) of every command record written, for the LISTs they use.
    const std::vector<std::string>& writtenNames() const { return writtenNames_; }

  private:
    Rewrite& e_;
    Layout target_;
    std::optional<KeyNames> keys_;
    std::ofstream log_;
    DuplicateLog duplicates_;
    std::uint32_t commandsWritten_ = 0;
    std::uint32_t listsWritten_ = 0;
    std::vector<std::string> writtenNames_;
};

// Runs a full rewrite of the open command file. Refuses, touching nothing, when the
// catalogue's rows do not stand on the file's records.
Outcome runFullRewrite(Session& session, const FullRewritePlan& plan);

// The catalogued rows by the position of their record (their scripts left out).
struct RowsByOffset {
    std::map<std::int64_t, UserRow> commands;
    std::map<std::int64_t, UserRow> lists; // the file's LIST rows only
};
RowsByOffset rowsByOffset(const Catalogue& catalogue);

} // namespace plv::dat
