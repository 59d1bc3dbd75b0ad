#pragma once

#include "catalogue/catalogue.h"
#include "platform/interaction.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// Find, Find Again and Find Previous over the whole catalogue, across Programs and Scopes,
// in the order of the `name` index and restricted to what the current View admits. The
// Find dialog and the F11 and F12 keys are views over this.
namespace plv::browser {

enum class FindIn { Name, Scope, Body };
enum class FindStep { First, Again, Previous };

struct FindHit {
    UserRow row;
    // Body searches: where the text starts in the body (1-based) and how long it is, both in
    // characters; 0 for name and Scope searches.
    std::size_t position = 0;
    std::size_t length = 0;
};

using RowAdmits = std::function<bool(const UserRow&)>;

// What the current View lets through, whether it is "&All of the above" (which the
// not-found message names), and the types it leaves out, as the message names them.
struct FindView {
    RowAdmits admits;
    bool everything = true;
    std::string skipped;
};

class Finder {
  public:
    Finder(const Catalogue& catalogue, UserInteraction& ui) : catalogue_(catalogue), ui_(ui) {}

    const std::string& text() const { return text_; }
    void setText(std::string text);
    FindIn column() const { return column_; }
    void setColumn(FindIn column);
    bool matchCase() const { return matchCase_; }
    void setMatchCase(bool on);

    // Find searches from the first row, Find Again forward from the last hit, Find Previous
    // backward from it. Nothing happens without a search text. Returns the hit, or nothing
    // once the not-found message (no hit yet) or the no-more-matches one has been shown.
    std::optional<FindHit> run(FindStep step, const FindView& view);
    // Cancel: the search text is gone, so F11 and F12 find nothing until a new search, and
    // the dialog opens as it did the first time.
    void discard();
    // The file was read again: its rows are new, so the last hit's place means nothing and
    // the next step starts from an end of the catalogue.
    void forgetLastHit();
    bool canFindAgain() const { return canAgain_; }
    bool canFindPrevious() const { return canPrevious_; }

    // The first hit after `from` (forward) or before it (backward), from an end of the
    // catalogue when there is no `from`. No messages: the walk behind all three steps, and
    // the terminal's.
    std::optional<FindHit> next(const std::optional<IndexKey>& from, bool forward,
                                const RowAdmits& admits) const;

  private:
    std::string notFound(const FindView& view) const;

    const Catalogue& catalogue_;
    UserInteraction& ui_;
    std::string text_;
    FindIn column_ = FindIn::Name;
    bool matchCase_ = false;
    std::optional<IndexKey> last_;
    // This search (text, column, case) has had a hit: only then are there "no more matches".
    bool matched_ = false;
    bool canAgain_ = false;
    bool canPrevious_ = false;
};

} // namespace plv::browser
