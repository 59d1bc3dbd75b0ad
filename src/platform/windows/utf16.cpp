#include "platform/windows/utf16.h"

#include <windows.h>

namespace plv::windows {

std::wstring toWide(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    int n =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string fromWide(const std::wstring& utf16) {
    if (utf16.empty()) {
        return {};
    }
    int n = ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr,
                                  0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n,
                          nullptr, nullptr);
    return out;
}

std::string fromWide(const wchar_t* utf16) {
    return utf16 ? fromWide(std::wstring(utf16)) : std::string();
}

} // namespace plv::windows
