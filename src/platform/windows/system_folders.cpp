#include "platform/system_folders.h"

#include "platform/windows/utf16.h"

// windows.h first: the shell's headers build on it.
// clang-format off
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>
// clang-format on

namespace plv {
namespace {

std::optional<std::string> knownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::optional<std::string> folder;
    if (::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) {
        folder = windows::fromWide(path);
    }
    ::CoTaskMemFree(path);
    return folder;
}

} // namespace

std::optional<std::string> commonAppDataFolder() {
    return knownFolder(FOLDERID_ProgramData);
}

std::optional<std::string> userAppDataFolder() {
    return knownFolder(FOLDERID_RoamingAppData);
}

} // namespace plv
