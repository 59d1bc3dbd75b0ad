#include "platform/process.h"

#include "platform/windows/utf16.h"

#include <windows.h>

namespace plv::process {
namespace {

// One argument quoted as CommandLineToArgvW reads it back: backslashes count only before a
// quote.
std::wstring quoted(const std::wstring& word) {
    if (!word.empty() && word.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return word;
    }
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

} // namespace

bool startDetached(const std::string& program, const std::vector<std::string>& arguments) {
    std::wstring exe = windows::toWide(program);
    std::wstring line = quoted(exe);
    for (const auto& a : arguments) {
        line += L" " + quoted(windows::toWide(a));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info{};
    // Hidden, with no console and no handles of ours; nobody waits for it.
    if (!::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE,
                          CREATE_NO_WINDOW | DETACHED_PROCESS, nullptr, nullptr, &startup, &info)) {
        return false;
    }
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return true;
}

} // namespace plv::process
