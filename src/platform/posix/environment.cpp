#include "platform/environment.h"

#include <cstdlib>

namespace plv {

std::optional<std::string> environmentVariable(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void setEnvironmentVariable(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name.c_str());
    }
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

std::string homeFolder() {
    return environmentVariable("HOME").value_or("/");
}

std::string systemFamily() {
#if defined(__linux__)
    return "Linux";
#else
    return "";
#endif
}

std::string executableFileName(const std::string& name) {
    return name;
}

} // namespace plv
