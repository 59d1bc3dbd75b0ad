#pragma once

#include <string>
#include <vector>

namespace plv::process {

// Starts `program` with `arguments`, hidden (no terminal input or output) and without
// waiting for it to finish; it is not left behind as a zombie. False when the program
// cannot be started.
bool startDetached(const std::string& program, const std::vector<std::string>& arguments);

} // namespace plv::process
