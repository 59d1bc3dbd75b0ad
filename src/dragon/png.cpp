#include "dragon/png.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace plv::dragon {
namespace {

std::uint32_t crc32(const std::string& data) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : data) {
        c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t adler32(const std::string& data) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (unsigned char c : data) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void putBigEndian(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>((v >> shift) & 0xFF);
    }
}

void putChunk(std::string& out, const char* type, const std::string& data) {
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    putBigEndian(out, crc32(body));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string zlibStored(const std::string& raw) {
    std::string out("\x78\x01", 2);
    std::size_t pos = 0;
    do {
        std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
        bool last = pos + n == raw.size();
        out += static_cast<char>(last ? 1 : 0);
        out += static_cast<char>(n & 0xFF);
        out += static_cast<char>(n >> 8);
        out += static_cast<char>(~n & 0xFF);
        out += static_cast<char>((~n >> 8) & 0xFF);
        out.append(raw, pos, n);
        pos += n;
    } while (pos < raw.size());
    putBigEndian(out, adler32(raw));
    return out;
}

} // namespace

std::string encodePng(const Picture& p) {
    std::string out("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    putBigEndian(header, static_cast<std::uint32_t>(p.width));
    putBigEndian(header, static_cast<std::uint32_t>(p.height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8-bit RGB, no interlace
    putChunk(out, "IHDR", header);
    std::string raw;
    std::size_t row = static_cast<std::size_t>(p.width) * 3;
    for (int y = 0; y < p.height; ++y) {
        raw += '\0'; // filter: none
        raw.append(reinterpret_cast<const char*>(p.rgb.data()) + y * row, row);
    }
    putChunk(out, "IDAT", zlibStored(raw));
    putChunk(out, "IEND", "");
    return out;
}

Picture practiceLogo(int size) {
    Picture p{size, size, std::vector<std::uint8_t>(static_cast<std::size_t>(size * size * 3))};
    int corner = size / 5;
    int bar = size / 5;
    int mid = size / 2;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int dx = std::max({corner - x, x - (size - 1 - corner), 0});
            int dy = std::max({corner - y, y - (size - 1 - corner), 0});
            bool inside = dx * dx + dy * dy <= corner * corner;
            bool cross = (std::abs(x - mid) < bar / 2 + 1 && y > size / 6 && y < size - size / 6) ||
                         (std::abs(y - mid) < bar / 2 + 1 && x > size / 6 && x < size - size / 6);
            std::array<std::uint8_t, 3> colour =
                !inside ? std::array<std::uint8_t, 3>{255, 255, 255}
                : cross ? std::array<std::uint8_t, 3>{255, 255, 255}
                        : std::array<std::uint8_t, 3>{0, 84, 147};
            std::size_t at = static_cast<std::size_t>((y * size + x) * 3);
            p.rgb[at] = colour[0];
            p.rgb[at + 1] = colour[1];
            p.rgb[at + 2] = colour[2];
        }
    }
    return p;
}

std::string rtfPngPicture(const std::string& png, int width, int height, int twips) {
    static const char* hex = "0123456789abcdef";
    std::string out = "{\\pict\\pngblip\\picw" + std::to_string(width) + "\\pich" +
                      std::to_string(height) + "\\picwgoal" + std::to_string(twips) + "\\pichgoal" +
                      std::to_string(twips) + "\r\n";
    for (std::size_t i = 0; i < png.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(png[i]);
        out += hex[b >> 4];
        out += hex[b & 15];
        if (i % 64 == 63) {
            out += "\r\n";
        }
    }
    return out + "}";
}

} // namespace plv::dragon
