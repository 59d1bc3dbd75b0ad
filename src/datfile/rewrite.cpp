#include "datfile/rewrite.h"

#include "datfile/diagnostics.h"
#include "datfile/reader.h"
#include "platform/codepage.h"
#include "platform/files.h"

namespace plv::dat {
namespace {

constexpr const char* kCrLf = "\r\n";
constexpr std::uint32_t kLowWord = 0xFFFF;

bool endsWith(const std::string& text, std::string_view tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail.data(), tail.size()) == 0;
}

void trimChar(std::string& text, char c) {
    while (!text.empty() && text.back() == c) {
        text.pop_back();
    }
}

std::string quotedName(const std::string& name) {
    return "'" + name + "'";
}

constexpr const char* kTemporaryName = "mycmds.Parlavista";

// The temporary file lives beside the command file, so the final rename stays on one
// file system and is atomic.
std::string temporaryName(const std::string& commandFile) {
    return files::samePath(files::fileName(commandFile), kTemporaryName)
               ? std::string(kTemporaryName) + ".new"
               : kTemporaryName;
}

void shiftRowsBehind(Session& s, const UserRow& edited, std::int64_t offsetLists,
                     std::int64_t delta) {
    if (delta == 0) {
        return;
    }
    s.catalogue.begin();
    try {
        s.catalogue.shiftPositionsAfter(edited.offset, delta);
        if (!edited.isList()) {
            s.catalogue.setParameter("OffsetLists", offsetLists + delta);
        }
        s.catalogue.commit();
    } catch (...) {
        s.catalogue.rollback();
        throw;
    }
}

} // namespace

void traceRewrite(Session& s, const std::string& word) {
    s.trace.line("", "", word);
}

std::string TrimTrailing(std::string text) {
    // One pass leaves the blanks of a last item that empty lines follow; repeat until none
    // of the trailing blanks, tabs and empty lines is left.
    std::size_t size = 0;
    do {
        size = text.size();
        trimChar(text, ' ');
        trimChar(text, '\t');
        trimChar(text, ' ');
        while (endsWith(text, kCrLf)) {
            text.resize(text.size() - 2);
        }
    } while (text.size() != size);
    return text;
}

std::vector<std::string> splitAtCrLf(const std::string& text) {
    std::vector<std::string> pieces;
    if (text.empty()) {
        return pieces;
    }
    std::size_t start = 0;
    for (;;) {
        std::size_t at = text.find(kCrLf, start);
        if (at == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, at - start));
        start = at + 2;
    }
}

std::string normaliseLineBreaks(std::string text) {
    if (text.find(kCrLf) == std::string::npos || !endsWith(text, kCrLf)) {
        return text + kCrLf;
    }
    while (endsWith(text, "\r\n\r\n")) {
        text.resize(text.size() - 2);
    }
    return text;
}

bool toFileText(Session& s, const std::string& utf8, std::string& bytes) {
    Cp1252Text encoded = encodeCp1252(utf8);
    if (!encoded.ok()) {
        s.ui.warning(refusedCharacterMessage(encoded.refused), s.file.path);
        return false;
    }
    bytes = std::move(encoded.bytes);
    return true;
}

bool refuseEncrypted(Session& s, const CommandRecord& record) {
    if (record.protection == 0) {
        return true;
    }
    // The body of a protected command is not its text: a text written there, or a type
    // changed under it, would leave a command that Dragon cannot use.
    s.ui.warning(kEncryptedMessage, s.file.path);
    return false;
}

bool refuseControlCharacters(Session& s, const std::string& nameBytes) {
    if (isPlausibleName(nameBytes)) {
        return true;
    }
    // The reader takes such a name for a sign that it lost its place in the file.
    s.ui.warning("A name cannot hold control characters such as tabs or line breaks", s.file.path);
    return false;
}

bool Rewrite::refuse(const std::string& reason) {
    s_.ui.warning("The command file does not match what was read from it: " + reason +
                      ".\nNothing was written; reload the file and try again.",
                  s_.file.path);
    return false;
}

void removeLeftoverTemporary(const std::string& commandFile) {
    std::string real = files::linkTarget(commandFile);
    files::remove(files::join(files::parentFolder(real), temporaryName(real)));
}

bool Rewrite::load(LoadFor purpose) {
    if (purpose == LoadFor::Writing && files::isReadOnly(s_.file.path)) {
        s_.ui.warning(files::readOnlyMessage(s_.file.path), s_.file.path);
        return false;
    }
    removeLeftoverTemporary(s_.file.path);
    auto image = files::readAll(s_.file.path);
    if (!image) {
        s_.ui.warning("The command file cannot be read", s_.file.path);
        return false;
    }
    input_ = std::move(*image);
    if (input_.size() < kHeaderSize + 4) {
        return refuse("it is shorter than a command file");
    }
    auto layout = layoutFromCode(static_cast<std::uint8_t>(input_[kVersionCodeOffset]));
    if (!layout || *layout != s_.file.layout) {
        return refuse("its format version is not the one read");
    }
    layout_ = *layout;
    commandCount_ = readLongAt(input_, kCommandCountOffset) & kLowWord;
    if (commandCount_ != s_.file.commandCount) {
        return refuse("its command count is not the one read");
    }
    offsetLists_ = s_.catalogue.parameterNumber("OffsetLists").value_or(0);
    if (offsetLists_ < kFirstRecordPosition || offsetLists_ + 3 > inputEnd() - 1) {
        return refuse("the LIST section position " + std::to_string(offsetLists_) +
                      " lies outside the file");
    }
    return readListSection();
}

// Walks the LIST section, which also proves that OffsetLists stands on its count.
bool Rewrite::readListSection() {
    ByteReader in(input_, offsetLists_);
    std::int64_t lists = 0;
    try {
        lists = in.longValue() & kLowWord;
        for (std::int64_t i = 0; i < lists; ++i) {
            ListRecord record;
            readList(in, record);
        }
    } catch (const FormatError& e) {
        return refuse("the LIST section cannot be read at position " +
                      std::to_string(e.position()));
    }
    if (lists != s_.catalogue.countFileLists()) {
        return refuse("the file holds " + std::to_string(lists) + " LISTs, not " +
                      std::to_string(s_.catalogue.countFileLists()));
    }
    listsEnd_ = in.position();
    listCount_ = lists;
    return true;
}

bool Rewrite::commandAt(const UserRow& row, CommandRecord& record) {
    std::string at = " (position " + std::to_string(row.offset) + ")";
    if (row.offset < kFirstRecordPosition || row.offset >= offsetLists_) {
        return refuse("the record of " + quotedName(row.name) +
                      " lies outside the command section" + at);
    }
    ByteReader in(input_, row.offset);
    try {
        readCommand(in, layout_, nullptr, record);
    } catch (const FormatError&) {
        return refuse("the record of " + quotedName(row.name) + " cannot be read" + at);
    }
    if (decodeCp1252(record.name) != row.name) {
        return refuse("the record" + at + " is " + quotedName(decodeCp1252(record.name)) +
                      ", not " + quotedName(row.name));
    }
    if (record.skipped() || record.end > offsetLists_ || record.offsetBody != row.offsetbody ||
        record.typeLetter() != row.type) {
        return refuse("the record of " + quotedName(row.name) + at +
                      " is not the command that was read");
    }
    return true;
}

bool Rewrite::listAt(const UserRow& row, ListRecord& record) {
    std::string at = " (position " + std::to_string(row.offset) + ")";
    if (row.offset < offsetLists_ + 4 || row.offset >= listsEnd_) {
        return refuse("the LIST " + quotedName(row.name) + " lies outside the LIST section" + at);
    }
    ByteReader in(input_, row.offset);
    try {
        readList(in, record);
    } catch (const FormatError&) {
        return refuse("the LIST " + quotedName(row.name) + " cannot be read" + at);
    }
    if (decodeCp1252(record.name) != row.name) {
        return refuse("the LIST" + at + " is " + quotedName(decodeCp1252(record.name)) + ", not " +
                      quotedName(row.name));
    }
    return true;
}

void Rewrite::CopyPrefix(std::int64_t n) {
    // One allocation for the whole new file: growing a string of many megabytes costs more
    // than copying it.
    output_.clear();
    output_.reserve(input_.size() + input_.size() / 8 + 65536);
    output_.append(input_, 0, static_cast<std::size_t>(n));
}

void Rewrite::CopyRemainder(std::int64_t position) {
    if (position >= 1 && position < inputEnd()) {
        output_.append(input_, static_cast<std::size_t>(position - 1), std::string::npos);
    }
}

bool Rewrite::addToCount(std::int64_t position, int delta) {
    auto at = static_cast<std::size_t>(position - 1);
    if (position < 1 || at + 4 > output_.size()) {
        return refuse("a count at position " + std::to_string(position) + " lies outside it");
    }
    std::uint32_t value = readLongAt(output_, at);
    std::int64_t low = static_cast<std::int64_t>(value & kLowWord) + delta;
    if (low < 0 || low > static_cast<std::int64_t>(kLowWord)) {
        s_.ui.warning("A command file holds at most 65535 commands and 65535 LISTs", s_.file.path);
        return false;
    }
    writeLongAt(output_, at, static_cast<std::uint32_t>(static_cast<std::int64_t>(value) + delta));
    return true;
}

bool Rewrite::FinishRewrite(const std::string& traceWord) {
    traceRewrite(s_, traceWord);
    if (s_.beforeReplace) {
        s_.beforeReplace(output_);
    }
    // The image is the command file as it was read for this rewrite: savedat is its copy.
    // The command file does not depend on it reaching the disk, so it is not flushed. It is
    // as private as the command file.
    if (!s_.keepSavedat &&
        !files::writeAllLike(s_.programFile("savedat"), input_, files::linkTarget(s_.file.path))) {
        s_.ui.warning("The copy of the previous command file could not be written: " +
                          s_.programFile("savedat"),
                      s_.file.path);
        return false;
    }
    // A linked command file is written through: the new file goes beside the real one and
    // replaces it, and the link stays.
    files::WriteResult written = files::replaceFile(
        s_.file.path, output_, {.temporaryName = temporaryName(files::linkTarget(s_.file.path))});
    if (written.readOnly()) {
        s_.ui.warning(files::readOnlyMessage(s_.file.path), s_.file.path);
    } else if (!written) {
        s_.ui.warning("The new command file could not be written beside " + s_.file.path,
                      s_.file.path);
    }
    return static_cast<bool>(written);
}

bool makeBodySplice(Rewrite& e, const UserRow& row, const std::string& bytes, BodySplice& out) {
    Session& s = e.session();
    if (row.type != "K" && row.type != "S" && row.type != "A" && row.type != "P" && !row.isList()) {
        s.ui.warning("Only the bodies of KEYS, SCRIPT, Advanced Scripting and Plain Text "
                     "commands and the items of LISTs are changed this way",
                     s.file.path);
        return false;
    }
    out.target = row;
    if (row.isList() && !row.isFileList()) {
        auto fileList = s.catalogue.findFileList(row.name);
        if (!fileList) {
            return e.refuse("the LIST " + quotedName(row.name) + " is not in it");
        }
        out.target = *fileList;
    }
    if (out.target.isList()) {
        ListRecord old;
        if (!e.listAt(out.target, old)) {
            return false;
        }
        auto items = splitAtCrLf(TrimTrailing(bytes));
        if (items.size() > kLowWord) {
            s.ui.warning("A LIST holds at most 65535 items", s.file.path);
            return false;
        }
        out.start = old.offset;
        out.end = old.end;
        out.record.PutCountedString(old.name);
        out.record.PutLong(1);
        out.record.PutLong(static_cast<std::uint32_t>(items.size()));
        for (const auto& item : items) {
            out.record.PutCountedString(item);
        }
        return true;
    }
    CommandRecord old;
    if (!e.commandAt(out.target, old) || !refuseEncrypted(s, old)) {
        return false;
    }
    out.start = old.offsetBody;
    out.end = old.end;
    if (out.target.type == "P") {
        out.record.PutCountedString("");
    }
    out.record.PutCountedString(bytes);
    return true;
}

Outcome Update1Body(Session& s, const UserRow& row, const std::string& text, Positions positions) {
    std::string bytes;
    Rewrite e(s);
    BodySplice splice;
    if (!toFileText(s, text, bytes) || !e.load() || !makeBodySplice(e, row, bytes, splice)) {
        return Outcome::Refused;
    }
    e.CopyPrefix(splice.start - 1);
    e.append(splice.record);
    e.CopyRemainder(splice.end);
    if (!e.FinishRewrite("Update1Body")) {
        return Outcome::Refused;
    }
    if (positions == Positions::Move) {
        shiftRowsBehind(s, splice.target, e.offsetLists(), splice.delta());
    }
    return Outcome::Done;
}

Outcome TruncateFile(Session& s, const std::string& path, std::uint64_t length) {
    if (!files::exists(path)) {
        s.ui.warning("Lopen in truncatefile failed", path);
        return Outcome::ProgramEnds;
    }
    if (!files::truncate(path, length)) {
        s.ui.warning(" SetEndofFile in TruncateFile Failed", path);
        return Outcome::ProgramEnds;
    }
    return Outcome::Done;
}

Outcome refreshAfterWrite(Session& s) {
    std::string path = s.file.path;
    ParseStatus status = parse(s, true, path);
    if (status == ParseStatus::ProgramEnds) {
        return Outcome::ProgramEnds;
    }
    if (status == ParseStatus::Failed || !s.parseOk) {
        return RestoreAfterBadWrite(s);
    }
    return Outcome::Done;
}

Outcome RestoreAfterBadWrite(Session& s) {
    s.ui.warning("The updated mycmds.dat file was not correctly written",
                 "Parlavista will now restore the version before updating operation");
    files::copyFileAtomically(s.programFile("savedat"), s.file.path);
    appendTraceToErrorLog(s.programFolder, s.trace.text());
    s.ui.warning("Please send file 'error.log' to Brinmoor\nbefore running Parlavista again",
                 "Now exiting");
    return Outcome::ProgramEnds;
}

} // namespace plv::dat
