#pragma once

#include "datfile/format.h"
#include "datfile/keynames.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plv::dat {

// One field of a command body as it stands in the file: a 32-bit value, a counted string,
// or a run of fixed bytes. A body re-emitted token by token is the same body with every
// string given its shortest length prefix.
struct BodyToken {
    enum class Kind : std::uint8_t { Long, String, Bytes };
    Kind kind = Kind::Bytes;
    std::uint32_t number = 0;
    std::string bytes;

    static BodyToken longValue(std::uint32_t n) { return {Kind::Long, n, {}}; }
    static BodyToken string(std::string s) { return {Kind::String, 0, std::move(s)}; }
    static BodyToken raw(std::string s) { return {Kind::Bytes, 0, std::move(s)}; }
};

// A step code that the decoder does not know, with the position after its code byte.
struct UnknownStep {
    int code = 0;
    std::int64_t position = 0;
};

// A command record, field by field. Strings are raw file bytes.
struct CommandRecord {
    std::string name;
    std::uint32_t listRefCountRaw = 0; // the 32-bit count as read; its low byte is used
    std::vector<std::string> listRefs;
    std::string description;
    std::string group; // empty in the file means "User-defined"
    std::uint8_t scopeByte = 0;
    std::string versionBlock; // 12 bytes, 7.x and later
    std::string appName;
    std::string productDescription;
    std::string companyName;
    std::string windowTitle;
    std::string windowClass;
    std::vector<std::string> states; // 8/9 and 10/11
    std::uint8_t typeByte = 0;
    std::uint8_t protection = 0; // 10/11
    std::string tail;            // 8 bytes, or 7 before the protected string
    std::optional<std::string> protectedString;
    std::vector<BodyToken> body;

    // Filled by the reader: the body as text, and where each part starts.
    std::string bodyText;
    std::uint32_t graphicSize = 0;
    std::vector<UnknownStep> unknownSteps;
    std::int64_t offset = 0;     // first byte (the name's length prefix)
    std::int64_t afterGroup = 0; // first byte after the Group string
    std::int64_t typeBytePosition = 0;
    std::int64_t offsetBody = 0;
    std::int64_t end = 0; // first byte after the record

    bool skipped() const { return (scopeByte & 0x80) != 0; }
    int scopeKind() const { return scopeByte & 0x7F; }
    // "K", "S", "T", "P", "R", "X", "A", or empty for an unknown type byte.
    std::string typeLetter() const;
    // The body string that text edits and substitutions act on (K, S, A, T, P), if any.
    std::string* editableText();
};

struct ListRecord {
    std::string name;
    std::string opaque = std::string("\x01\0\0\0", 4);
    std::uint32_t itemCountRaw = 0; // the 32-bit count as read; its low word is used
    std::vector<std::string> items;
    std::int64_t offset = 0;
    std::int64_t end = 0;
};

// Thrown when a record name holds a byte below 32: the reader has lost its place.
class BadName : public FormatError {
  public:
    BadName(std::string name, std::int64_t position)
        : FormatError("a name holds a control character", position), name_(std::move(name)) {}
    const std::string& name() const { return name_; }

  private:
    std::string name_;
};

bool isPlausibleName(const std::string& name);

// Reads the command record at the reader's position; decodes the body text when `keys`
// is given. Fills `out` as far as it gets; throws BadName or FormatError.
void readCommand(ByteReader& in, Layout layout, const KeyNames* keys, CommandRecord& out);
void readList(ByteReader& in, ListRecord& out);

// Writes the record in the given layout. Fields the target layout lacks are dropped;
// fields it has and the source lacked are written as zeros.
void writeCommand(const CommandRecord& record, Layout layout, ByteWriter& out);
void writeList(const ListRecord& record, ByteWriter& out);

} // namespace plv::dat
