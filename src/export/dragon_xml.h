#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Dragon's XML command format (the Command Browser's import and export) as plain values,
// and its text both ways. Texts here are UTF-8; command names keep the command file's
// "<list>" spelling, which the XML writes "[list]". Nothing here touches a file.
namespace plv::xml {

// The content types Dragon writes.
inline constexpr const char* kScript = "SCRIPT";        // Advanced Scripting
inline constexpr const char* kDvcScript = "DVC_SCRIPT"; // the legacy SCRIPT command
inline constexpr const char* kText = "TEXT";            // Plain Text
inline constexpr const char* kTextGraphics = "TEXT-GRAPHICS";
inline constexpr const char* kActions = "ACTIONS"; // the macro recorder

// One recorded mouse event of an ACTIONS body.
struct Action {
    std::uint32_t time = 0;
    std::string type; // move, leftdown, leftup, rightdown, rightup
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::uint32_t window = 0;
    bool operator==(const Action&) const = default;
};

struct Command {
    std::string name;
    std::string group;
    std::string description;
    bool enabled = true;
    std::vector<std::string> states;
    // "global", "application" or "window", and the Scope's fields.
    std::string scope = "global";
    std::string module; // the Program
    std::string company;
    std::string productDescription;
    std::string caption; // the window title
    std::string windowClass;
    std::string contentType;
    std::string body; // the script, or the plain text of TEXT and TEXT-GRAPHICS
    std::string rtf;  // TEXT-GRAPHICS only
    std::vector<Action> actions;
    int line = 0; // of the Command element, when read
};

struct List {
    std::string name;
    std::vector<std::string> items;
    int line = 0;
};

struct Document {
    std::uint32_t language = 0x409; // a Windows language identifier
    std::vector<Command> commands;
    std::vector<List> lists;
};

// "Replace <text>" <-> "Replace [text]".
std::string toXmlName(const std::string& name);
std::string fromXmlName(const std::string& name);
// The command file's language byte of a language identifier (its low byte), and the
// identifier written for a byte.
int languageByte(std::uint32_t language);
std::uint32_t languageId(int languageByte);

// The document as Dragon exports it: UTF-16 little-endian with its byte-order mark, tab
// indentation, CR LF line ends, texts in CDATA sections.
std::string writeDocument(const Document& document);
// The same text as UTF-8 (declared so).
std::string documentText(const Document& document);

// A value longer than this (in UTF-8 bytes) makes a file unreadable: no command holds it.
inline constexpr std::size_t kMaxValue = 16 * 1024 * 1024;

struct ReadFailure {
    int line = 0;
    std::string why;
    // "Line 12: a missing end tag" as the messages show it.
    std::string message() const;
};

// Reads the file bytes: UTF-16 (either byte order, by its byte-order mark), UTF-8, or
// Windows-1252 by the declaration; CR LF or LF. Nothing, with `failure` filled, when the
// bytes are not such a document; a document with an element of unknown content type still
// reads (the import refuses that command).
std::optional<Document> readDocument(std::string_view bytes, ReadFailure& failure);

} // namespace plv::xml
