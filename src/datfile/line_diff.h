#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A shortest line diff of two short texts (command bodies, LIST items), grouped into hunks
// as `diff -u` prints them.
namespace plv::dat {

struct DiffLine {
    char mark = ' '; // ' ' in both, '-' only in the first, '+' only in the second
    std::string text;
};

struct DiffHunk {
    std::size_t aStart = 0; // 0-based index of the hunk's first line in each text
    std::size_t aCount = 0;
    std::size_t bStart = 0;
    std::size_t bCount = 0;
    std::vector<DiffLine> lines;
};

// The lines of a text broken at CR LF, LF or a lone CR, each with the break that ends it: a
// last line without one differs from the same line with one, as in `diff -u`.
std::vector<std::string> textLines(std::string_view text);

// The hunks that turn `a` into `b`, with `context` unchanged lines around each change;
// hunks whose context would touch are one hunk. Empty when the lines are the same.
std::vector<DiffHunk> lineDiff(const std::vector<std::string>& a, const std::vector<std::string>& b,
                               std::size_t context = 3);

// "@@ -1,3 +1,4 @@" and the hunk's lines, each started by `indent` and ended by LF. Lines of
// textLines are shown without their breaks, and one without a break is followed by
// "\ No newline at end of file".
std::string unifiedText(const std::vector<DiffHunk>& hunks, const std::string& indent = "",
                        bool textLines = false);

} // namespace plv::dat
