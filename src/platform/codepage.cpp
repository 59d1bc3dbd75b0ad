#include "platform/codepage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace plv {
namespace {

// Code points of bytes 0x80..0x9F. The five bytes the code page leaves unassigned take
// private-use code points (U+F700 plus the byte), never the C1 controls of the same value:
// a C1 control typed or pasted is a character the code page cannot hold and is refused,
// while a file's own byte still reads and is written back as it was.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0xF781, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xF78D, 0x017D, 0xF78F, 0xF790, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xF79D, 0x017E, 0x0178};

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Reads one code point at i and advances i; kInvalid on malformed input.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
    auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (extra == 0 || b > 0xF4) {
        ++i;
        return kInvalid;
    }
    char32_t c = b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        if (i + k >= s.size()) {
            i = s.size();
            return kInvalid;
        }
        auto cont = static_cast<unsigned char>(s[i + k]);
        if ((cont & 0xC0) != 0x80) {
            i += k;
            return kInvalid;
        }
        c = (c << 6) | (cont & 0x3F);
    }
    i += extra + 1;
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return kInvalid;
    }
    return c;
}

int byteFor(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<int>(c);
    }
    for (std::size_t k = 0; k < kHigh.size(); ++k) {
        if (kHigh[k] == c) {
            return static_cast<int>(0x80 + k);
        }
    }
    return -1;
}

char32_t foldCodePoint(char32_t c) {
    if (c >= 'A' && c <= 'Z') {
        return c + 32;
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
        return c + 32;
    }
    switch (c) {
    case 0x0160:
        return 0x0161;
    case 0x0152:
        return 0x0153;
    case 0x017D:
        return 0x017E;
    case 0x0178:
        return 0x00FF;
    default:
        return c;
    }
}

char32_t upperCodePoint(char32_t c) {
    if (c >= 'a' && c <= 'z') {
        return c - 32;
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return c - 32;
    }
    switch (c) {
    case 0x0161:
        return 0x0160;
    case 0x0153:
        return 0x0152;
    case 0x017E:
        return 0x017D;
    case 0x00FF:
        return 0x0178;
    default:
        return c;
    }
}

template <typename Map> std::string mapCodePoints(std::string_view utf8, Map map) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            out += static_cast<char>(map(static_cast<unsigned char>(utf8[i])));
            ++i;
            continue;
        }
        std::size_t start = i;
        char32_t c = nextCodePoint(utf8, i);
        if (c == kInvalid) {
            out.append(utf8.substr(start, i - start));
        } else {
            appendUtf8(out, map(c));
        }
    }
    return out;
}

// The length of the run of ASCII bytes that `bytes` starts with.
std::size_t asciiPrefix(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) {
        ++i;
    }
    return i;
}

} // namespace

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x110000) {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string decodeCp1252(std::string_view bytes) {
    // Most text is ASCII, which is UTF-8 already: it is copied in one piece.
    std::size_t ascii = asciiPrefix(bytes);
    std::string out(bytes.substr(0, ascii));
    if (ascii == bytes.size()) {
        return out;
    }
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes.substr(ascii)) {
        auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            out += ch;
        } else if (b < 0xA0) {
            appendUtf8(out, kHigh[b - 0x80]);
        } else {
            appendUtf8(out, b);
        }
    }
    return out;
}

std::string decodeOwnedCp1252(std::string&& bytes) {
    if (asciiPrefix(bytes) == bytes.size()) {
        return std::move(bytes);
    }
    return decodeCp1252(bytes);
}

Cp1252Text encodeCp1252(std::string_view utf8) {
    Cp1252Text result;
    result.bytes.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            result.bytes += static_cast<char>(b);
            ++i;
            continue;
        }
        std::size_t start = i;
        char32_t c = nextCodePoint(utf8, i);
        if (c == kInvalid) {
            result.refused = "invalid UTF-8";
            return result;
        }
        int mapped = byteFor(c);
        if (mapped < 0) {
            result.refused = std::string(utf8.substr(start, i - start));
            return result;
        }
        result.bytes += static_cast<char>(mapped);
    }
    return result;
}

std::string refusedCharacterMessage(const std::string& refused, const std::string& file) {
    if (refused == "invalid UTF-8") {
        return "The text is not valid UTF-8 and cannot be written into " + file;
    }
    return "The character '" + refused + "' cannot be written into " + file +
           ": its code page (Windows-1252) has no such character";
}

std::size_t cp1252Length(std::string_view utf8) {
    std::size_t n = 0;
    for (char ch : utf8) {
        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) {
            ++n;
        }
    }
    return n;
}

std::string foldCase(std::string_view utf8) {
    return mapCodePoints(utf8, foldCodePoint);
}

std::string upperCase(std::string_view utf8) {
    return mapCodePoints(utf8, upperCodePoint);
}

namespace {

// True when position i of s holds a UTF-8 continuation byte.
bool inCharacter(std::string_view s, std::size_t i) {
    return i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80;
}

// The length of the byte run that a and b share, cut back to the start of a character.
std::size_t commonPrefix(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    std::size_t i = 0;
    for (std::uint64_t x = 0, y = 0; i + sizeof x <= n; i += sizeof x) {
        std::memcpy(&x, a.data() + i, sizeof x);
        std::memcpy(&y, b.data() + i, sizeof y);
        if (x != y) {
            break;
        }
    }
    while (i < n && a[i] == b[i]) {
        ++i;
    }
    while (i > 0 && (inCharacter(a, i) || inCharacter(b, i))) {
        --i;
    }
    return i;
}

} // namespace

int compareNoCase(std::string_view a, std::string_view b) {
    // The catalogue's indexes compare through here, mostly names that share a long start
    // ("command 12", "command 13"): equal bytes fold equal, so that start is skipped at
    // once, and ASCII takes the short road after it.
    std::size_t i = commonPrefix(a, b);
    if (i == a.size() && i == b.size()) {
        return 0;
    }
    std::size_t j = i;
    while (i < a.size() && j < b.size()) {
        auto ca = static_cast<unsigned char>(a[i]);
        auto cb = static_cast<unsigned char>(b[j]);
        char32_t x;
        char32_t y;
        if ((ca | cb) < 0x80) {
            if (ca == cb) {
                ++i;
                ++j;
                continue;
            }
            x = ca >= 'A' && ca <= 'Z' ? ca + 32 : ca;
            y = cb >= 'A' && cb <= 'Z' ? cb + 32 : cb;
            ++i;
            ++j;
        } else {
            x = ca < 0x80 ? (++i, foldCodePoint(ca)) : foldCodePoint(nextCodePoint(a, i));
            y = cb < 0x80 ? (++j, foldCodePoint(cb)) : foldCodePoint(nextCodePoint(b, j));
        }
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (i < a.size()) {
        return 1;
    }
    return j < b.size() ? -1 : 0;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return compareNoCase(a, b) == 0;
}

bool containsNoCase(std::string_view haystack, std::string_view needle) {
    return foldCase(haystack).find(foldCase(needle)) != std::string::npos;
}

std::string foldCp1252(std::string_view bytes) {
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            char32_t c = b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : static_cast<char32_t>(b);
            t[b] = static_cast<char>(byteFor(foldCodePoint(c)));
        }
        return t;
    }();
    std::string out(bytes);
    for (char& ch : out) {
        ch = table[static_cast<unsigned char>(ch)];
    }
    return out;
}

std::optional<std::size_t> findCharacters(std::string_view haystack, std::string_view needle,
                                          bool matchCase) {
    // Folding maps each character to one character, so a place in the folded text counts
    // the same characters as in the original.
    std::string folded = matchCase ? std::string(haystack) : foldCase(haystack);
    std::size_t at = folded.find(matchCase ? std::string(needle) : foldCase(needle));
    if (at == std::string::npos) {
        return std::nullopt;
    }
    return cp1252Length(std::string_view(folded).substr(0, at));
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::size_t at = 0;
    while ((at = text.find(from, at)) != std::string::npos) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

std::string withCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            out += '\r';
        }
        out += text[i];
    }
    return out;
}

} // namespace plv
