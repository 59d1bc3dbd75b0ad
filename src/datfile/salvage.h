#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Rescue of a damaged command file: every record that reads whole is kept, and after each
// damaged stretch the reading starts again at the next place where whole records read.
namespace plv::dat {

struct LostRange {
    std::int64_t start = 0; // position of the first byte lost (1-based, as record offsets)
    std::int64_t end = 0;   // the first byte after
    // What could still be read at its start: the damaged record's name and Program (UTF-8).
    std::optional<std::string> name;
    std::optional<std::string> program;
    bool inLists = false; // among the LISTs
};

struct Salvage {
    std::string image; // the rescued command file
    std::size_t commands = 0;
    std::size_t lists = 0;
    std::vector<LostRange> lost; // in file order; empty when the whole file read
};

// "bytes 1200 to 1533 (334 bytes) of the commands: "open <apps>", Program WINWORD".
std::string lostText(const LostRange& lost);
// "Kept 120 commands and 3 LISTs; lost:" and a line for each range, or that nothing was lost.
std::string salvageText(const Salvage& salvage);

// Nothing when the image does not begin as a command file of a known version.
std::optional<Salvage> salvage(std::string_view image);

} // namespace plv::dat
