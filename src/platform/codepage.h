#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Command files hold 8-bit Windows-1252 text; everything above them holds UTF-8.
// These functions are the one place where the two meet.
namespace plv {

// Never fails: the five bytes that Windows-1252 leaves unassigned decode to private-use
// characters (U+F781 for 0x81) that encode back to the same byte, so that every file byte
// survives a round trip; the C1 controls U+0080..U+009F are not text of the code page.
std::string decodeCp1252(std::string_view bytes);
// The same for bytes the caller gives up: ASCII text is handed back without a copy.
std::string decodeOwnedCp1252(std::string&& bytes);

struct Cp1252Text {
    std::string bytes;
    // The first character that the code page cannot hold (UTF-8), or "invalid UTF-8".
    // Empty when the whole text was encoded.
    std::string refused;
    bool ok() const { return refused.empty(); }
};

Cp1252Text encodeCp1252(std::string_view utf8);

// The message shown when text cannot be written into a command file (or the file named).
std::string refusedCharacterMessage(const std::string& refused,
                                    const std::string& file = "the command file");

// Appends the code point as UTF-8; one beyond Unicode's range is left out.
void appendUtf8(std::string& out, char32_t codePoint);

// Number of file bytes the UTF-8 text takes in Windows-1252 (one per character).
std::size_t cp1252Length(std::string_view utf8);

// Upper/lower case folding that knows the accented letters of Windows-1252
// (so Müller and MÜLLER compare equal). Works on UTF-8.
std::string foldCase(std::string_view utf8);
std::string upperCase(std::string_view utf8);
bool equalsNoCase(std::string_view a, std::string_view b);
int compareNoCase(std::string_view a, std::string_view b);
bool containsNoCase(std::string_view haystack, std::string_view needle);
// The same folding on Windows-1252 bytes: one byte in, one byte out, so positions stay.
std::string foldCp1252(std::string_view bytes);
// Where `needle` first occurs in `haystack`, counted in characters from 0; exact, or with
// case folded as above.
std::optional<std::size_t> findCharacters(std::string_view haystack, std::string_view needle,
                                          bool matchCase);

// Replaces every occurrence of `from` (not empty), left to right, without rescanning what
// was put in.
void replaceAll(std::string& text, std::string_view from, std::string_view to);

// Command files break lines with CR LF; a lone LF (a text file written here, an XML file
// edited by hand) becomes one.
std::string withCrLf(const std::string& text);

} // namespace plv
