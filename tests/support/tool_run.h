#pragma once

#include "cli/cli.h"

#include <sstream>
#include <string>
#include <vector>

namespace plv::test {

// parlavista-cli run in-process: its exit status and what it printed.
struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

inline ToolRun tool(const std::vector<std::string>& words) {
    std::ostringstream out;
    std::ostringstream err;
    cli::Io io{out, err};
    int status = cli::runTool(words, io);
    return {status, out.str(), err.str()};
}

} // namespace plv::test
