#include "platform/utf16.h"

#include "platform/codepage.h"

namespace plv {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point starting at `i`, and its length in `length`; nothing when the bytes there
// are not well-formed UTF-8 (overlong forms and surrogates included).
std::optional<char32_t> decodeAt(std::string_view s, std::size_t i, std::size_t& length) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char lead = byte(i);
    if (lead < 0x80) {
        length = 1;
        return lead;
    }
    std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (n == 0 || lead > 0xF4 || i + n > s.size()) {
        return std::nullopt;
    }
    char32_t cp = lead & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return std::nullopt;
    }
    length = n;
    return cp;
}

} // namespace

// Written in place: a whole document goes through here, and most of it is ASCII.
std::string utf8ToUtf16le(std::string_view utf8) {
    // No code point takes more UTF-16 bytes than twice its UTF-8 bytes.
    std::string out(utf8.size() * 2, '\0');
    std::size_t at = 0;
    auto put = [&](char32_t unit) {
        out[at++] = static_cast<char>(unit & 0xFF);
        out[at++] = static_cast<char>(unit >> 8);
    };
    for (std::size_t i = 0; i < utf8.size();) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            put(lead);
            ++i;
            continue;
        }
        std::size_t length = 1;
        char32_t cp = decodeAt(utf8, i, length).value_or(kReplacement);
        i += length;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(0xD800 + (cp >> 10));
            put(0xDC00 + (cp & 0x3FF));
        } else {
            put(cp);
        }
    }
    out.resize(at);
    return out;
}

std::optional<std::string> utf16ToUtf8(std::string_view bytes, bool bigEndian, std::size_t& badAt) {
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](std::size_t i) -> char32_t {
        auto a = static_cast<unsigned char>(bytes[i]);
        auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8) | b : (b << 8) | a;
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            break;
        }
        appendUtf8(out, cp);
    }
    if (i < bytes.size()) {
        badAt = out.size();
        return std::nullopt;
    }
    return out;
}

std::size_t invalidUtf8At(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 1;
        if (!decodeAt(text, i, length)) {
            return i;
        }
        i += length;
    }
    return std::string_view::npos;
}

} // namespace plv
