#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plv::dragon {

// A true-colour picture, row by row, three bytes (red, green, blue) per pixel.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// The picture as a PNG file (its pixel data in stored deflate blocks: valid, not small).
std::string encodePng(const Picture& picture);

// The practice's logo: a white cross on a rounded blue square.
Picture practiceLogo(int size);

// An RTF picture group holding the PNG as hex data, shown at `twips` square.
std::string rtfPngPicture(const std::string& png, int width, int height, int twips);

} // namespace plv::dragon
