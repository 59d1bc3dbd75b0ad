#pragma once

#include "cli/cli.h"
#include "platform/files.h"
#include "support/fixtures.h"

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

// A folder for the files of tool runs, with the program folder "home" inside it.
struct ToolFolder {
    TempDir dir;
    std::string copy(const std::string& sample) { return dir.write(sample, readSample(sample)); }
    ToolRun run(std::vector<std::string> words) {
        words.push_back("--home");
        words.push_back(dir.file("home"));
        return tool(words);
    }
    static std::string bytes(const std::string& path) { return files::readAll(path).value_or(""); }
};

} // namespace plv::test
