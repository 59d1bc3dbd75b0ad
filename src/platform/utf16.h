#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// UTF-16 file text (Dragon's XML exports) to and from the UTF-8 held everywhere inside.
namespace plv {

// Little-endian UTF-16 bytes of the UTF-8 text, without a byte-order mark. Invalid UTF-8
// bytes become U+FFFD.
std::string utf8ToUtf16le(std::string_view utf8);

// The UTF-8 of UTF-16 bytes (little- or big-endian, without the byte-order mark); nothing,
// with the offset of the first bad unit in `badAt` (in UTF-8 bytes already converted),
// when a surrogate is unpaired or the byte count is odd.
std::optional<std::string> utf16ToUtf8(std::string_view bytes, bool bigEndian, std::size_t& badAt);

// The offset of the first byte that is not part of a well-formed UTF-8 sequence, or npos.
std::size_t invalidUtf8At(std::string_view text);

} // namespace plv
