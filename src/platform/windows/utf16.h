#pragma once

#include <string>

// Text is UTF-8 inside the program and UTF-16 at every Windows call: the one pair of
// conversions between them.
namespace plv::windows {

std::wstring toWide(const std::string& utf8);
std::string fromWide(const std::wstring& utf16);
std::string fromWide(const wchar_t* utf16);

} // namespace plv::windows
