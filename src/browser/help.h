#pragma once

#include <string>

// The program's help book: HTML pages in the "help" folder of the program folder.
namespace plv::browser {

inline constexpr int kHelpContents = 0;
inline constexpr int kHelpOptions = 10001;
inline constexpr int kHelpKeysConversion = 10002;
inline constexpr int kHelpRoaming = 10004;
inline constexpr const char* kHelpCommandsPage = "commands.html";

// The page shown for a context number; the contents page for 0 or a number without a page.
std::string helpPage(int context);

// The help book's folder in the program folder.
std::string helpFolder(const std::string& programFolder);

} // namespace plv::browser
