#pragma once

#include "cli/cli.h"

#include <string>

namespace plv::cli {

// Command files break lines with CR LF; a lone LF (a text file written here) becomes one.
std::string withCrLf(const std::string& text);

// The text of --NAME or of the file named by --NAME-file: exactly one of them.
bool textOption(const Args& args, Io& io, const std::string& command, const std::string& name,
                std::string& text);

} // namespace plv::cli
