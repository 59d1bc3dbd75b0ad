#include "browser/find.h"

#include "platform/codepage.h"

namespace plv::browser {
namespace {

constexpr const char* kNotFoundTitle = "Not Found";

TextColumn textColumn(FindIn in) {
    switch (in) {
    case FindIn::Name:
        return TextColumn::Name;
    case FindIn::Scope:
        return TextColumn::State;
    case FindIn::Body:
        break;
    }
    return TextColumn::Script;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

void Finder::setText(std::string text) {
    matched_ = matched_ && text == text_;
    text_ = std::move(text);
}

void Finder::setColumn(FindIn column) {
    matched_ = matched_ && column == column_;
    column_ = column;
}

void Finder::setMatchCase(bool on) {
    matched_ = matched_ && on == matchCase_;
    matchCase_ = on;
}

std::string Finder::notFound(const FindView& view) const {
    std::string text = quoted(text_) + " not found in ";
    if (view.everything) {
        return text + "your macro files";
    }
    text += "current View";
    return view.skipped.empty() ? text : text + ", which leaves out " + view.skipped;
}

std::optional<FindHit> Finder::next(const std::optional<IndexKey>& from, bool forward,
                                    const RowAdmits& admits) const {
    std::optional<FindHit> hit;
    catalogue_.visitContaining(textColumn(column_), text_, matchCase_, forward, from,
                               [&](const UserRow& row) {
                                   if (!admits(row)) {
                                       return true;
                                   }
                                   hit = FindHit{row, 0, 0};
                                   return false;
                               });
    if (hit && column_ == FindIn::Body) {
        if (auto at = findCharacters(hit->row.script, text_, matchCase_)) {
            hit->position = *at + 1;
            hit->length = cp1252Length(text_);
        }
    }
    return hit;
}

std::optional<FindHit> Finder::run(FindStep step, const FindView& view) {
    if (text_.empty()) {
        return std::nullopt;
    }
    bool forward = step != FindStep::Previous;
    auto hit = next(step == FindStep::First ? std::nullopt : last_, forward, view.admits);
    if (hit) {
        last_ = IndexKey::of(hit->row);
        canAgain_ = canPrevious_ = true;
        matched_ = true;
        return hit;
    }
    if (step == FindStep::First) {
        last_.reset();
    }
    // Find Again for a text never found (changed since the last hit) has found nothing at
    // all; the last hit keeps its place for the next search.
    if (step == FindStep::First || !matched_) {
        canAgain_ = canPrevious_ = false;
        ui_.message(notFound(view), kNotFoundTitle);
        return std::nullopt;
    }
    // The last hit stays where it was, so the other direction still works from it.
    (forward ? canAgain_ : canPrevious_) = false;
    ui_.message(quoted(text_) + " no more matches", kNotFoundTitle);
    return std::nullopt;
}

void Finder::discard() {
    text_.clear();
    column_ = FindIn::Name;
    matchCase_ = false;
    forgetLastHit();
}

void Finder::forgetLastHit() {
    last_.reset();
    matched_ = false;
    canAgain_ = canPrevious_ = false;
}

} // namespace plv::browser
