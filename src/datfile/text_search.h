#pragma once

#include <cstddef>
#include <string>

// Finding and replacing text in command bodies, on their Windows-1252 bytes: one byte is one
// character, so every position found is a character position of the body. Without match
// case, letters compare as the catalogue compares them (accented ones included).
namespace plv::dat {

// The 0-based position of the first `search` at or after `from`, or npos.
std::size_t findText(const std::string& body, const std::string& search, std::size_t from,
                     bool matchCase);

struct Replaced {
    std::string text;
    std::size_t count = 0;
};

// Every `search` from `from` on replaced by `replace`, left to right; each next search starts
// after the text just inserted, so a replacement that holds the search text is not searched
// again. The same result as replacing one match at a time.
Replaced replaceEvery(const std::string& body, const std::string& search,
                      const std::string& replace, bool matchCase, std::size_t from = 0);

} // namespace plv::dat
