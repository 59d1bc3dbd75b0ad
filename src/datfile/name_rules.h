#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Why Dragon would refuse a command name or a LIST name, as the refusal says it; nothing when
// it would take it. The code page and whether the LISTs exist are checked apart.
namespace plv::dat {

inline constexpr std::size_t kMaxListRefs = 20;

std::optional<std::string> commandNameFault(const std::string& name);
// A new LIST name: only letters, digits and "_-." (the letters' case is free).
std::optional<std::string> listNameFault(const std::string& name);
// A LIST name as a command file holds it (Dragon's own files have names with blanks): not
// empty, no control character, and no bracket that would break a reference to it.
std::optional<std::string> storedListNameFault(const std::string& name);

} // namespace plv::dat
