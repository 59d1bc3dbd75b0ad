#include "editing/search_replace.h"

#include "datfile/text_search.h"
#include "datfile/update_bodies.h"
#include "platform/codepage.h"

#include <functional>

namespace plv::editing {
namespace {

using dat::Outcome;

constexpr const char* kTitle = "Parlavista";
constexpr std::size_t kProgressEvery = 1000;

struct MarkedBody {
    std::int64_t id = 0;
    std::string name;
    std::string bytes; // the script in file bytes
};

// The marked rows from `firstId` on, in file order, until `visit` returns false. An
// encrypted body is not text, so it is never searched.
void visitMarked(const Catalogue& c, std::int64_t firstId,
                 const std::function<bool(const MarkedBody&)>& visit) {
    auto rows = c.prepare(R"(SELECT "ID", "name", "script" FROM "user" WHERE "flag" <> 0 )"
                          R"(AND "encrypted" = 0 AND "ID" >= ? ORDER BY "ID")");
    rows.bind(1, firstId);
    while (rows.step()) {
        MarkedBody body{rows.integer(0), rows.text(1), encodeCp1252(rows.text(2)).bytes};
        if (!visit(body)) {
            return;
        }
    }
}

std::int64_t countMarked(const Catalogue& c) {
    auto count = c.prepare(R"(SELECT COUNT(*) FROM "user" WHERE "flag" <> 0)");
    count.step();
    return count.integer(0);
}

} // namespace

void keepSearchableMarks(Catalogue& c) {
    c.execute(R"(UPDATE "user" SET "flag" = 0 WHERE "flag" <> 0 AND )"
              R"("Type" NOT IN ('S', 'K', 'A', 'L'))");
}

void SearchReplace::setTexts(const std::string& search, const std::string& replace,
                             bool matchCase) {
    matched_ = matched_ && search == search_ && matchCase == matchCase_;
    search_ = search;
    replace_ = replace;
    matchCase_ = matchCase;
}

std::string SearchReplace::countsMessage() const {
    return std::to_string(replacements_) + " occurrences in " + std::to_string(changed_.size()) +
           " macros replaced";
}

// The search text in file bytes; false after a message when there is none or the file's
// code page cannot hold it.
bool SearchReplace::searchBytes(std::string& bytes, bool emptyMessage) {
    if (search_.empty()) {
        s_.ui.warning(
            emptyMessage ? " No text entered to search for" : "No Search For text entered", kTitle);
        return false;
    }
    return dat::toFileText(s_, search_, bytes);
}

// Both texts in file bytes, checked before anything is written.
bool SearchReplace::replaceBytes(std::string& search, std::string& replacement) {
    if (!searchBytes(search, false)) {
        return false;
    }
    if (replace_.empty()) {
        s_.ui.warning(" No text entered to replace with", kTitle);
        return false;
    }
    return dat::toFileText(s_, replace_, replacement);
}

bool SearchReplace::textsWritable() {
    std::string search;
    std::string replacement;
    return replaceBytes(search, replacement);
}

void SearchReplace::noMoreMatches() {
    match_.reset();
    nextStart_ = 0;
    if (replacements_ > 0) {
        s_.ui.message(countsMessage(), kTitle);
        s_.ui.status("Replaced");
    } else if (matched_) {
        s_.ui.message("No more matches in this Scope", kTitle);
    } else {
        s_.ui.message("\"" + search_ +
                          "\" not found in this Scope, where Text and Graphics, Plain Text, "
                          "Macro Recorder and Step-by-step commands are not searched",
                      kTitle);
    }
}

bool SearchReplace::findNext() {
    std::string search;
    if (!searchBytes(search, true)) {
        return false;
    }
    std::int64_t firstId = match_ ? match_->rowId : 0;
    std::size_t from = match_ ? nextStart_ : 0;
    std::optional<SearchMatch> found;
    visitMarked(s_.catalogue, firstId, [&](const MarkedBody& row) {
        std::size_t hit =
            dat::findText(row.bytes, search, row.id == firstId ? from : 0, matchCase_);
        if (hit == std::string::npos) {
            return true;
        }
        found = SearchMatch{row.id, row.name, decodeCp1252(row.bytes), hit + 1, search.size()};
        nextStart_ = hit + search.size();
        return false;
    });
    if (!found) {
        noMoreMatches();
        return false;
    }
    match_ = std::move(found);
    matched_ = true;
    return true;
}

void SearchReplace::noteWritten() {
    modified_ = true;
    writtenTime_ = files::lastModified(s_.file.path);
    writtenSize_ = files::size(s_.file.path);
}

bool SearchReplace::changedSinceWritten() const {
    return modified_ && (files::lastModified(s_.file.path) != writtenTime_ ||
                         files::size(s_.file.path) != writtenSize_);
}

Outcome SearchReplace::replace() {
    std::string search;
    std::string replacement;
    if (!replaceBytes(search, replacement)) {
        return Outcome::Refused;
    }
    if (!match_) {
        findNext();
        return Outcome::Done;
    }
    auto row = s_.catalogue.rowById(match_->rowId);
    if (!row) {
        noMoreMatches();
        return Outcome::Refused;
    }
    std::string body = encodeCp1252(row->script).bytes;
    body.replace(match_->start - 1, match_->length, replacement);
    std::string text = decodeCp1252(body);
    if (beforeWrite && !beforeWrite()) {
        return Outcome::Refused;
    }
    Outcome done = dat::Update1Body(s_, *row, text, dat::Positions::Move);
    if (done != Outcome::Done) {
        return done;
    }
    s_.catalogue.prepare(R"(UPDATE "user" SET "script" = ? WHERE "ID" = ?)")
        .bind(1, text)
        .bind(2, row->id)
        .run();
    nextStart_ = match_->start - 1 + replacement.size();
    ++replacements_;
    changed_.insert(row->id);
    noteWritten();
    findNext();
    return Outcome::Done;
}

Outcome SearchReplace::replaceAll() {
    std::string search;
    std::string replacement;
    if (!replaceBytes(search, replacement)) {
        return Outcome::Refused;
    }
    std::vector<dat::BodyChange> changes;
    std::vector<std::size_t> counts;
    std::int64_t firstId = match_ ? match_->rowId : 0;
    auto total = static_cast<std::size_t>(countMarked(s_.catalogue));
    std::size_t seen = 0;
    visitMarked(s_.catalogue, firstId, [&](const MarkedBody& row) {
        dat::Replaced r;
        if (match_ && row.id == firstId) {
            // The selected text goes first, as Replace would take it, then the rest after it.
            std::string body = row.bytes;
            body.replace(match_->start - 1, match_->length, replacement);
            r = dat::replaceEvery(body, search, replacement, matchCase_,
                                  match_->start - 1 + replacement.size());
            ++r.count;
        } else {
            r = dat::replaceEvery(row.bytes, search, replacement, matchCase_);
        }
        if (r.count > 0) {
            UserRow target;
            if (auto found = s_.catalogue.rowById(row.id)) {
                target = *found;
            }
            changes.push_back({std::move(target), decodeCp1252(r.text)});
            counts.push_back(r.count);
        }
        if (++seen % kProgressEvery == 0) {
            s_.ui.progress(seen, total);
        }
        return true;
    });
    if (!changes.empty()) {
        if (beforeWrite && !beforeWrite()) {
            return Outcome::Refused;
        }
        Outcome done = dat::UpdateBodies(s_, changes, "ReplaceAll");
        if (done != Outcome::Done) {
            return done;
        }
        for (std::size_t i = 0; i < changes.size(); ++i) {
            replacements_ += counts[i];
            changed_.insert(changes[i].row.id);
        }
        noteWritten();
    }
    s_.ui.progress(total, total);
    noMoreMatches();
    return Outcome::Done;
}

} // namespace plv::editing
