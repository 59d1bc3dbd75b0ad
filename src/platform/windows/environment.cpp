#include "platform/environment.h"

#include "platform/windows/utf16.h"

// windows.h first: the shell's headers build on it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

namespace plv {

std::optional<std::string> environmentVariable(const std::string& name) {
    std::wstring key = windows::toWide(name);
    DWORD n = ::GetEnvironmentVariableW(key.c_str(), nullptr, 0);
    if (n == 0) {
        return std::nullopt;
    }
    std::wstring value(n, L'\0');
    n = ::GetEnvironmentVariableW(key.c_str(), value.data(), n);
    value.resize(n);
    return windows::fromWide(value);
}

void setEnvironmentVariable(const std::string& name, const std::optional<std::string>& value) {
    std::wstring text = value ? windows::toWide(*value) : std::wstring();
    ::SetEnvironmentVariableW(windows::toWide(name).c_str(), value ? text.c_str() : nullptr);
}

std::vector<std::string> commandLineArguments(int, char**) {
    // The narrow argv holds the ANSI code page, which loses every name outside it.
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> out;
    for (int i = 0; words && i < count; ++i) {
        out.push_back(windows::fromWide(words[i]));
    }
    ::LocalFree(words);
    return out;
}

std::string homeFolder() {
    return environmentVariable("USERPROFILE").value_or("C:\\");
}

std::string systemFamily() {
    return "Windows 7";
}

std::string executableFileName(const std::string& name) {
    return name + ".exe";
}

} // namespace plv
