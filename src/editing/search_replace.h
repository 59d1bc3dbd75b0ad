#pragma once

#include "datfile/rewrite.h"
#include "platform/files.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

// Search and Replace over the bodies of the marked commands, with the state the Tools
// dialog keeps while it is open: the texts, the current match, where the next search starts,
// and what was replaced so far.
namespace plv::editing {

// Where a search stopped: the command and the matched text in its body.
struct SearchMatch {
    std::int64_t rowId = 0;
    std::string name;
    std::string body;       // UTF-8
    std::size_t start = 0;  // 1-based character position
    std::size_t length = 0; // characters
};

// Only KEYS, SCRIPT, Advanced Scripting and LIST bodies are searched: other marks go.
void keepSearchableMarks(Catalogue& catalogue);

class SearchReplace {
  public:
    explicit SearchReplace(Session& session) : s_(session) {}

    // The texts of the dialog (UTF-8), taken before each action.
    void setTexts(const std::string& search, const std::string& replace, bool matchCase);

    // The next match in the marked rows after the current one. With none left: the counts
    // message when something was replaced (status "Replaced"), else "No more matches in this
    // Scope" after a match, or that the text is not found and which types are not searched;
    // the search then starts again at the first row.
    bool findNext();
    // Replaces the current match (or finds one first) with a splice of its body, then finds
    // the next.
    dat::Outcome replace();
    // Every match from the current one on replaced, in one rewrite: the file that Replace
    // repeated until no match is left would give.
    dat::Outcome replaceAll();
    // Whether both texts are there and the file's code page holds them; false after the
    // message. What Replace and Replace All check before they write.
    bool textsWritable();

    const std::optional<SearchMatch>& match() const { return match_; }
    std::size_t replacements() const { return replacements_; }
    std::size_t commandsChanged() const { return changed_.size(); }
    // The file was rewritten by a replacement since the dialog opened.
    bool modified() const { return modified_; }
    // After a replacement: the file is no longer the one it wrote.
    bool changedSinceWritten() const;

    // "<n> occurrences in <m> macros replaced".
    std::string countsMessage() const;

    // Runs before every write, once its match and texts have been checked (the day's
    // backup); false refuses the write.
    std::function<bool()> beforeWrite;

  private:
    bool searchBytes(std::string& bytes, bool emptyMessage);
    bool replaceBytes(std::string& search, std::string& replacement);
    void noMoreMatches();
    void noteWritten();

    Session& s_;
    std::string search_;
    std::string replace_;
    bool matchCase_ = false;
    bool matched_ = false; // the texts have matched at least once
    std::optional<SearchMatch> match_;
    std::size_t nextStart_ = 0; // 0-based, in the current match's body
    std::size_t replacements_ = 0;
    std::set<std::int64_t> changed_;
    bool modified_ = false;
    std::optional<files::FileTime> writtenTime_;
    std::optional<std::uint64_t> writtenSize_;
};

} // namespace plv::editing
