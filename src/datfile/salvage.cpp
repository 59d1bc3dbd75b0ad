#include "datfile/salvage.h"

#include "catalogue/user_row.h"
#include "datfile/reader.h"
#include "datfile/record.h"
#include "datfile/record_ops.h"
#include "platform/codepage.h"

#include <algorithm>
#include <tuple>

namespace plv::dat {
namespace {

constexpr std::size_t kListCountSize = 4;

// A command as Dragon writes them: a name, a known type and Scope, a LIST reference for
// each LIST the name names.
bool looksLikeCommand(const CommandRecord& r) {
    return !r.name.empty() && !r.typeLetter().empty() && r.scopeKind() <= 2 &&
           r.listRefs.size() == ExtractListRefs(r.name).size();
}

// A LIST as Dragon writes them: a name, a small number before the count, words for items.
bool looksLikeList(const ListRecord& r) {
    return !r.name.empty() && r.opaque.size() == 4 && r.opaque.substr(1) == std::string(3, '\0') &&
           std::all_of(r.items.begin(), r.items.end(), isPlausibleName);
}

class Rescue {
  public:
    Rescue(std::string_view image, Layout layout)
        : image_(image), layout_(layout), end_(static_cast<std::int64_t>(image.size()) + 1),
          whole_(recordsEnd(image) == end_) {}

    Salvage run() {
        std::uint32_t count = readLongAt(image_, kCommandCountOffset) & 0xFFFF;
        std::int64_t pos = kFirstRecordPosition;
        // LISTs after the number the count promises are kept too: a lowered count would
        // otherwise leave them behind unread.
        while (pos < end_) {
            if (auto next = nextRecord(pos, commands_.size() >= count)) {
                pos = *next;
                continue;
            }
            std::int64_t from = pos;
            LostRange lost = recognised(from);
            std::tie(pos, inLists_) = resynchronised(from + 1);
            lost.end = pos;
            out_.lost.push_back(std::move(lost));
        }
        return finish();
    }

  private:
    using Range = std::pair<std::int64_t, std::int64_t>;

    // Reads the record (or the start of the LISTs) at `pos` as the reader would; the
    // position after it, or nothing when it does not read.
    std::optional<std::int64_t> nextRecord(std::int64_t pos, bool listsDue) {
        if (inLists_) {
            return keep(lists_, listAt(pos, false), pos);
        }
        if (listsDue && enterLists(pos, true)) {
            return pos + static_cast<std::int64_t>(kListCountSize);
        }
        if (auto end = keep(commands_, commandAt(pos, false), pos)) {
            return end;
        }
        if (!listsDue && enterLists(pos, false)) {
            return pos + static_cast<std::int64_t>(kListCountSize);
        }
        return std::nullopt;
    }

    // A record that reads is kept when a record that looks whole follows it, or else when no
    // whole records start inside it: one misread across the damage would swallow the records
    // behind it.
    std::optional<std::int64_t> keep(std::vector<Range>& kept, std::optional<std::int64_t> end,
                                     std::int64_t pos) {
        if (!end || (!whole_ && !followedWell(*end) && !looksWhole(pos) &&
                     resynchronised(pos + 1, *end).first < *end)) {
            return std::nullopt;
        }
        kept.emplace_back(pos, *end);
        return end;
    }

    // A command that reads and looks as Dragon writes it: bytes of its body that read as a
    // command must not win over it. Not so a LIST: bytes inside its items do not read as a
    // LIST, while a grown item count takes in the whole LISTs after it.
    bool looksWhole(std::int64_t pos) const {
        return !inLists_ && commandAt(pos, true).has_value();
    }

    bool followedWell(std::int64_t end) const {
        if (end == end_) {
            return true;
        }
        if (inLists_) {
            return (expectedLists_ && lists_.size() + 1 >= *expectedLists_) ||
                   listAt(end, true).has_value();
        }
        return commandAt(end, true) || listsSectionAt(end);
    }

    // The LISTs start at `pos` where they are due; elsewhere only when every LIST that the
    // count promises reads, to the end of the file.
    bool enterLists(std::int64_t pos, bool due) {
        auto count = due ? listsSectionAt(pos) : wholeListsSectionAt(pos);
        if (count) {
            inLists_ = true;
            expectedLists_ = *count;
        }
        return count.has_value();
    }

    // Whether a record may start at `pos`: a name, and after it what a command (the number of
    // LISTs its name names) or a LIST (three zero bytes in its opaque four) has there. Most
    // places the search for whole records tries fail here, without the cost of a read.
    bool recordMayStartAt(std::int64_t pos, bool list) const {
        if (pos < 1 || pos >= end_) {
            return false;
        }
        auto at = static_cast<std::size_t>(pos - 1);
        auto n = static_cast<std::uint8_t>(image_[at]);
        if (n == 255) {
            return true; // a long name: left to the read
        }
        std::size_t after = at + 1 + n;
        if (n == 0 || after + 4 > image_.size()) {
            return false;
        }
        std::string_view name = image_.substr(at + 1, n);
        if (std::any_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 32; })) {
            return false;
        }
        if (list) {
            return image_.substr(after + 1, 3) == std::string_view("\0\0\0", 3);
        }
        return static_cast<std::uint8_t>(image_[after]) ==
               ExtractListRefs(std::string(name)).size();
    }

    // The end of a command record at `pos`. A `strict` one must also look like a command
    // and not like bytes that happen to read as one: a name, a known type and scope.
    std::optional<std::int64_t> commandAt(std::int64_t pos, bool strict) const {
        if (strict && !recordMayStartAt(pos, false)) {
            return std::nullopt;
        }
        CommandRecord r;
        try {
            ByteReader in(image_, pos);
            readCommand(in, layout_, strict ? nullptr : &keys_, r);
        } catch (const FormatError&) {
            return std::nullopt;
        }
        if (strict && !looksLikeCommand(r)) {
            return std::nullopt;
        }
        return r.end;
    }

    std::optional<std::int64_t> listAt(std::int64_t pos, bool strict) const {
        if (strict && !recordMayStartAt(pos, true)) {
            return std::nullopt;
        }
        ListRecord r;
        try {
            ByteReader in(image_, pos);
            readList(in, r);
        } catch (const FormatError&) {
            return std::nullopt;
        }
        if (strict && !looksLikeList(r)) {
            return std::nullopt;
        }
        return r.end;
    }

    // The LIST count at `pos` when a LIST (or the end of the file, for none) follows it.
    std::optional<std::uint32_t> listsSectionAt(std::int64_t pos) const {
        std::int64_t first = pos + static_cast<std::int64_t>(kListCountSize);
        if (first > end_) {
            return std::nullopt;
        }
        std::uint32_t count = readLongAt(image_, static_cast<std::size_t>(pos - 1)) & 0xFFFF;
        bool follows = count == 0 ? first == end_ : listAt(first, !whole_).has_value();
        return follows ? std::optional<std::uint32_t>(count) : std::nullopt;
    }

    // The LISTs from `pos` on when they all read, one after the other, to the end of the
    // file: their count, or nothing.
    std::optional<std::uint32_t> listsToTheEnd(std::int64_t pos) const {
        std::uint32_t count = 0;
        while (pos != end_) {
            auto next = listAt(pos, true);
            if (!next) {
                return std::nullopt;
            }
            pos = *next;
            ++count;
        }
        return count;
    }

    std::optional<std::uint32_t> wholeListsSectionAt(std::int64_t pos) const {
        auto count = listsSectionAt(pos);
        if (!count) {
            return std::nullopt;
        }
        auto read = listsToTheEnd(pos + static_cast<std::int64_t>(kListCountSize));
        return read == count ? count : std::nullopt;
    }

    // The first position after `from` where whole records read again: a command followed
    // by a record or the end, the start of the LISTs, or a LIST followed by another or the
    // end; with whether the LISTs begin there (their count lost). `until` (the end of the
    // file when not given) when there is none before it.
    std::pair<std::int64_t, bool> resynchronised(std::int64_t from,
                                                 std::optional<std::int64_t> until = {}) const {
        std::int64_t last = until.value_or(end_);
        for (std::int64_t q = from; q < last; ++q) {
            if (inLists_) {
                if (listFollowedWell(q)) {
                    return {q, true};
                }
                continue;
            }
            if (commandsFollow(q) && !swallowsCommands(q)) {
                return {q, false};
            }
            if (wholeListsSectionAt(q)) {
                return {q, false};
            }
            if (listAt(q, true) && listsToTheEnd(q)) {
                return {q, true};
            }
        }
        return {last, inLists_};
    }

    // Whether commands that look like commands read from `q` on, a few in a row, up to the
    // LISTs or the end of the file.
    bool commandsFollow(std::int64_t q) const {
        constexpr int kInARow = 3;
        for (int i = 0; i < kInARow && q != end_; ++i) {
            auto e = commandAt(q, true);
            if (!e) {
                return i > 0 && wholeListsSectionAt(q);
            }
            q = *e;
        }
        return true;
    }

    // Whether the command read at `q` covers the start of whole commands: bytes inside a
    // damaged record (a Program's name, say) read as one that runs on over the records after.
    bool swallowsCommands(std::int64_t q) const {
        std::int64_t end = commandAt(q, true).value_or(q);
        for (std::int64_t r = q + 1; r < end; ++r) {
            if (commandsFollow(r)) {
                return true;
            }
        }
        return false;
    }

    bool listFollowedWell(std::int64_t q) const {
        auto e = listAt(q, true);
        return e && (*e == end_ || listAt(*e, true));
    }

    // What the damaged record at `from` still tells: as much of it as reads.
    LostRange recognised(std::int64_t from) const {
        LostRange lost;
        lost.start = from;
        lost.inLists = inLists_;
        std::string name;
        ByteReader in(image_, from);
        if (inLists_) {
            ListRecord r;
            tryRead([&] { readList(in, r); });
            name = r.name;
        } else {
            CommandRecord r;
            tryRead([&] { readCommand(in, layout_, nullptr, r); });
            name = r.name;
            if (!r.appName.empty()) {
                lost.program = decodeCp1252(r.appName);
            } else if (r.typeBytePosition != 0 && r.scopeKind() == 0) {
                lost.program = kGlobalCommands;
            }
        }
        if (!name.empty() && isPlausibleName(name)) {
            lost.name = decodeCp1252(name);
        }
        return lost;
    }

    template <typename Read> static void tryRead(Read read) {
        try {
            read();
        } catch (const FormatError&) {
            // The record is damaged: what was read before the damage is kept.
        }
    }

    Salvage finish() {
        std::string out(image_.substr(0, kHeaderSize));
        writeLongAt(out, kCommandCountOffset, static_cast<std::uint32_t>(commands_.size()));
        for (const auto& [from, to] : commands_) {
            out += image_.substr(static_cast<std::size_t>(from - 1),
                                 static_cast<std::size_t>(to - from));
        }
        ByteWriter count;
        count.PutLong(static_cast<std::uint32_t>(lists_.size()));
        out += count.data();
        for (const auto& [from, to] : lists_) {
            out += image_.substr(static_cast<std::size_t>(from - 1),
                                 static_cast<std::size_t>(to - from));
        }
        out_.image = std::move(out);
        out_.commands = commands_.size();
        out_.lists = lists_.size();
        return std::move(out_);
    }

    std::string_view image_;
    Layout layout_;
    std::int64_t end_;
    KeyNames keys_;
    // A file that reads whole is copied as it reads, whatever its records look like. Bytes
    // after its last LIST make it damaged: a lowered count leaves records there.
    const bool whole_;
    bool inLists_ = false;
    std::optional<std::uint32_t> expectedLists_;
    std::vector<Range> commands_;
    std::vector<Range> lists_;
    Salvage out_;
};

} // namespace

std::optional<Salvage> salvage(std::string_view image) {
    if (image.size() < kHeaderSize) {
        return std::nullopt;
    }
    auto layout = layoutFromCode(static_cast<std::uint8_t>(image[kVersionCodeOffset]));
    if (!layout) {
        return std::nullopt;
    }
    return Rescue(image, *layout).run();
}

std::string lostText(const LostRange& lost) {
    std::string out = "bytes " + std::to_string(lost.start) + " to " +
                      std::to_string(lost.end - 1) + " (" + std::to_string(lost.end - lost.start) +
                      " bytes) of the " + (lost.inLists ? "LISTs" : "commands");
    if (lost.name) {
        out += ": \"" + *lost.name + "\"";
    }
    if (lost.program) {
        out += std::string(lost.name ? ", " : ": ") + "Program " + *lost.program;
    }
    return out;
}

std::string salvageText(const Salvage& s) {
    std::string out = "Kept " + std::to_string(s.commands) +
                      (s.commands == 1 ? " command and " : " commands and ") +
                      std::to_string(s.lists) + (s.lists == 1 ? " LIST" : " LISTs");
    if (s.lost.empty()) {
        return out + "; nothing was lost.\n";
    }
    out += "; lost:\n";
    for (const auto& lost : s.lost) {
        out += "  " + lostText(lost) + "\n";
    }
    return out;
}

} // namespace plv::dat
