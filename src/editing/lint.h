#pragma once

#include "datfile/contents.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The checks of a command file that Dragon does not make on loading it: LISTs missing or
// unused, names it cannot tell apart or would refuse, bodies that would not run or convert.
namespace plv::editing {

struct Problem {
    enum class Level { Information, Warning };
    Level level = Level::Warning;
    std::string check;   // a short word per kind of problem: "missing-list", "keys-braces", ...
    std::string program; // empty for a LIST
    std::string scope;
    std::string name;
    std::string type; // the command's type letter; "L" for a LIST
    std::int64_t offset = 0;
    std::string reason; // one line
};

// 0 when a SCRIPT body passes Dragon's check, else the line of its first error.
using ScriptCheck = std::function<int(const std::string& body)>;

// Every problem of the file, in file order.
std::vector<Problem> lint(const dat::FileContents& file, const ScriptCheck& scriptCheck);

// Whether any of the problems is above information level.
bool hasWarnings(const std::vector<Problem>& problems);

} // namespace plv::editing
