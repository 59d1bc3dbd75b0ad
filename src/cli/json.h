#pragma once

#include <string>
#include <string_view>

namespace plv::cli {

// A JSON string literal of UTF-8 text.
std::string jsonString(std::string_view text);

} // namespace plv::cli
