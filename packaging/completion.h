#pragma once

#include <string>

namespace plv::manual {

// Shell completion scripts for the two programs, from the commands' usage lines and
// option sets and from the window's usage text.
std::string bashCliCompletion();
std::string bashWindowCompletion();
std::string zshCliCompletion();
std::string zshWindowCompletion();

} // namespace plv::manual
