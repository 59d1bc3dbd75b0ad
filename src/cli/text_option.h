#pragma once

#include "cli/cli.h"

#include <string>

namespace plv::cli {

// The text of --NAME or of the file named by --NAME-file: exactly one of them.
bool textOption(const Args& args, Io& io, const std::string& command, const std::string& name,
                std::string& text);

} // namespace plv::cli
