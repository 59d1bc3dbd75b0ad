#pragma once

#include <optional>
#include <string>
#include <vector>

// What the running program learns from the system around it, as UTF-8 text.
namespace plv {

// The value of an environment variable; nullopt when it is not set.
std::optional<std::string> environmentVariable(const std::string& name);
// Sets the variable, or removes it when `value` is nullopt.
void setEnvironmentVariable(const std::string& name, const std::optional<std::string>& value);
// The words of the command line, the program's own name first.
std::vector<std::string> commandLineArguments(int argc, char** argv);
// The user's home folder.
std::string homeFolder();
// The family of operating system the program runs on, as Dragon's checks name it: "Linux",
// "Windows 7".
std::string systemFamily();
// A program's file name on this system from its name without extension.
std::string executableFileName(const std::string& name);

} // namespace plv
