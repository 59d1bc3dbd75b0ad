#include "catalogue/rebuild.h"

#include "platform/codepage.h"

#include <cstring>

namespace plv {
namespace {

// From about this many rows on, one index build after the rows is cheaper than keeping the
// indexes up to date row by row.
constexpr std::size_t kManyRows = 2000;
// Rows kept waiting for one bulk append.
constexpr std::size_t kWaitingRows = 256;

// Appends the folded text preceded by its length, so that no two different lists of texts
// give the same key. ASCII, nearly all of it, is folded on the spot.
void appendKeyPart(std::string& key, std::string_view text) {
    std::size_t at = key.size();
    key.append(sizeof(std::uint32_t), '\0');
    for (char c : text) {
        auto b = static_cast<unsigned char>(c);
        if (b >= 0x80) {
            key.resize(at + sizeof(std::uint32_t));
            key += foldCase(text);
            break;
        }
        key += b >= 'A' && b <= 'Z' ? static_cast<char>(b + 32) : c;
    }
    auto n = static_cast<std::uint32_t>(key.size() - at - sizeof(std::uint32_t));
    std::memcpy(&key[at], &n, sizeof n);
}

// The key of a Program, Scope and name, as the FOLD collation compares them.
void nameKey(std::string& key, std::string_view menu, std::string_view state,
             std::string_view name) {
    key.clear();
    appendKeyPart(key, menu);
    appendKeyPart(key, state);
    appendKeyPart(key, name);
}

} // namespace

CatalogueRebuild::CatalogueRebuild(Catalogue& catalogue, std::size_t expectedRows)
    : catalogue_(catalogue), indexesDropped_(expectedRows >= kManyRows) {
    // The catalogue can always be read again from the command file, and a rebuild cut
    // short leaves it marked as not parsed: waiting for the disk at its end buys nothing.
    if (indexesDropped_) {
        catalogue_.execute("PRAGMA synchronous = OFF");
    }
    catalogue_.begin();
    try {
        if (indexesDropped_) {
            catalogue_.dropIndexes();
        }
        catalogue_.deleteFileRows();
        rememberKeptRows();
        nextId_ = catalogue_.nextRowId();
        waiting_.reserve(kWaitingRows);
    } catch (...) {
        rollback();
        throw;
    }
}

CatalogueRebuild::~CatalogueRebuild() {
    if (open_) {
        try {
            rollback();
        } catch (...) { // NOLINT(bugprone-empty-catch): nothing is left to undo
        }
    }
}

void CatalogueRebuild::rememberKeptRows() {
    auto s =
        catalogue_.prepare(R"(SELECT "ID", "menu", "state", "name" FROM "user" ORDER BY "ID")");
    while (s.step()) {
        nameKey(key_, s.text(1), s.text(2), s.text(3));
        named_[key_].kept.push_back(s.integer(0));
    }
}

std::int64_t CatalogueRebuild::insertRow(UserRow&& row,
                                         const Catalogue::DuplicateSink& onDuplicate) {
    nameKey(key_, row.menu, row.state, row.name);
    Named& named = named_.try_emplace(key_).first->second;
    bool keptFound = !named.kept.empty();
    std::int64_t foundId = keptFound ? named.kept.front() : named.added;
    if (foundId != 0) {
        row.dupe = true;
        if (onDuplicate) {
            flush(); // the row found may be among those waiting
            if (auto found = catalogue_.rowById(foundId)) {
                onDuplicate(*found, row);
            }
        }
        if (keptFound) {
            catalogue_.deleteRow(foundId);
            named.kept.erase(named.kept.begin());
        }
    }
    std::int64_t id = row.id = nextId_++;
    if (named.added == 0) {
        named.added = id;
    }
    waiting_.push_back(std::move(row));
    if (waiting_.size() == kWaitingRows) {
        flush();
    }
    return id;
}

void CatalogueRebuild::flush() {
    if (!waiting_.empty()) {
        catalogue_.appendNumberedRows(waiting_, onRefused_);
        waiting_.clear();
    }
}

std::int64_t CatalogueRebuild::stateId(const std::string& appname, const std::string& statename) {
    nameKey(key_, appname, statename, {});
    auto [it, added] = states_.try_emplace(key_, 0);
    if (added) {
        it->second = catalogue_.stateId(appname, statename);
    }
    return it->second;
}

void CatalogueRebuild::commit() {
    flush();
    if (indexesDropped_) {
        catalogue_.createIndexes();
    }
    catalogue_.commit();
    open_ = false;
    restoreSync();
}

void CatalogueRebuild::rollback() {
    open_ = false;
    waiting_.clear();
    catalogue_.rollback();
    restoreSync();
}

void CatalogueRebuild::restoreSync() {
    if (indexesDropped_) {
        catalogue_.execute("PRAGMA synchronous = NORMAL");
    }
}

} // namespace plv
