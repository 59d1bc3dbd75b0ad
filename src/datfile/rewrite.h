#pragma once

#include "datfile/format.h"
#include "datfile/record.h"
#include "datfile/session.h"

#include <cstdint>
#include <string>
#include <vector>

// The rewrite engine: the only code that changes a command file. Every operation builds the
// complete new file in memory from the file as it is on disk, keeps the previous file as
// "savedat" in the program folder, writes the new one beside the command file as
// "mycmds.Parlavista", flushes it and renames it over the command file. A command file its
// user made read-only is refused before anything is written.
namespace plv::dat {

// What an operation came to. A refused operation has shown its message and touched nothing;
// ProgramEnds is the outcome after which the program must stop (its messages are shown).
enum class Outcome { Done, Refused, ProgramEnds };

// The trace line of a rewrite: two blanks and the operation's word.
void traceRewrite(Session& session, const std::string& word);

// Removes trailing blanks, then tabs, then blanks again, then trailing CR LF pairs, until
// the text ends in none of them.
std::string TrimTrailing(std::string text);
// The pieces of a text between CR LF breaks; an empty text has none.
std::vector<std::string> splitAtCrLf(const std::string& text);
// Ends the text with exactly one CR LF and no empty trailing lines.
std::string normaliseLineBreaks(std::string text);

// UTF-8 text converted to file bytes; shows the refusal and returns false when the code page
// cannot hold a character.
bool toFileText(Session& session, const std::string& utf8, std::string& bytes);

inline constexpr const char* kEncryptedMessage =
    "This command has been encrypted, and cannot be edited";
// Shows why and returns false when the record is a protected (encrypted) command.
bool refuseEncrypted(Session& session, const CommandRecord& record);
// Shows why and returns false when a name (file bytes) holds a byte below 32.
bool refuseControlCharacters(Session& session, const std::string& nameBytes);

// Removes the temporary file that a write killed before its end leaves beside the command
// file (the command file itself is never touched: only a complete new file replaces it).
// Done at the next write and at start-up.
void removeLeftoverTemporary(const std::string& commandFile);

// One rewrite of the open command file.
class Rewrite {
  public:
    explicit Rewrite(Session& session) : s_(session) {}

    // What the command file is loaded for: a write refuses a file its user made read-only.
    enum class LoadFor { Writing, Reading };
    // Reads the command file and checks its header, command count and LIST section against
    // the last parse. Shows a message and returns false when they disagree, or when a file
    // to be written is read-only.
    bool load(LoadFor purpose = LoadFor::Writing);

    Session& session() { return s_; }
    const std::string& input() const { return input_; }
    Layout layout() const { return layout_; }
    std::int64_t offsetLists() const { return offsetLists_; }
    // The position just after the last LIST record.
    std::int64_t listsEnd() const { return listsEnd_; }
    std::int64_t commandCount() const { return commandCount_; }
    std::int64_t listCount() const { return listCount_; }
    std::int64_t inputEnd() const { return static_cast<std::int64_t>(input_.size()) + 1; }

    // The row's record, read where the catalogue places it; refuses (false) unless it is
    // there, inside the file, and carries the row's name.
    bool commandAt(const UserRow& row, CommandRecord& record);
    bool listAt(const UserRow& row, ListRecord& record);
    // Shows why the catalogue does not describe the file; returns false.
    bool refuse(const std::string& reason);

    // The new file. Splice steps copy ranges of the input into it; records written through
    // a ByteWriter are appended as they stand.
    std::string& output() { return output_; }
    void append(const ByteWriter& bytes) { output_ += bytes.data(); }
    void CopyPrefix(std::int64_t n);
    void CopyRemainder(std::int64_t position);
    // Adds `delta` to the 32-bit count at 1-based `position` of the new file; refuses when
    // the count's low word, which is all readers take, would leave 0..65535.
    bool addToCount(std::int64_t position, int delta);
    // Trace line, "savedat", and the command file replaced by files::replaceFile (its rights
    // kept, a link written through). False (message shown, command file untouched) when a
    // step fails.
    bool FinishRewrite(const std::string& traceWord);

  private:
    bool readListSection();

    Session& s_;
    std::string input_;
    std::string output_;
    Layout layout_ = Layout::V1011;
    std::int64_t offsetLists_ = 0;
    std::int64_t listsEnd_ = 0;
    std::int64_t commandCount_ = 0;
    std::int64_t listCount_ = 0;
};

// A body replaced in place: the old bytes from `start` to before `end` give way to `record`.
struct BodySplice {
    UserRow target; // the row of the file's record (a LIST's display copy stands for it)
    std::int64_t start = 0;
    std::int64_t end = 0;
    ByteWriter record;
    std::int64_t delta() const { return static_cast<std::int64_t>(record.size()) - (end - start); }
};
// The splice that gives the row the new text (file bytes): the body of a K, S, A or P
// command that is not encrypted, or the items of a LIST. Shows why and returns false when
// the row cannot take it.
bool makeBodySplice(Rewrite& engine, const UserRow& row, const std::string& bytes, BodySplice& out);

// What a splice does with the catalogue's stored positions of the rows behind it: moves them,
// for a caller that goes on using the catalogue, or leaves them to the parse that follows
// the write anyway.
enum class Positions { Move, LeaveToRefresh };

// Replaces the body of a K, S, A or P command that is not encrypted, or the items of a LIST
// (a display copy stands for the file's LIST of that name); with Positions::Move, moves the
// stored positions of every later row and of OffsetLists by the size change. `text` is UTF-8.
Outcome Update1Body(Session& session, const UserRow& row, const std::string& text,
                    Positions positions);

// Cuts the file to `length` bytes; ProgramEnds after its message when that fails.
Outcome TruncateFile(Session& session, const std::string& path, std::uint64_t length);

// The refresh after a write: the file is parsed again (forced), which checks that it is well
// formed; a failed parse restores "savedat" through RestoreAfterBadWrite.
Outcome refreshAfterWrite(Session& session);
// Restores "savedat" over the command file, appends the trace to error.log after
// "NOW TRACE", shows the two messages and returns ProgramEnds.
Outcome RestoreAfterBadWrite(Session& session);

} // namespace plv::dat
