#include "support/file_rights.h"

#include "platform/windows/utf16.h"

#include <windows.h>

namespace plv::test {
namespace {

DWORD attributesOf(Rights rights) {
    return rights == Rights::Private ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_READONLY;
}

} // namespace

void giveRights(const std::string& path, Rights rights) {
    ::SetFileAttributesW(windows::toWide(path).c_str(), attributesOf(rights));
}

bool hasRights(const std::string& path, Rights rights) {
    DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY;
    return (::GetFileAttributesW(windows::toWide(path).c_str()) & kept) == attributesOf(rights);
}

bool symbolicLinksPossible() {
    return false;
}

long long fileTimeStep() {
    return 100;
}

bool namesIgnoreLetterCase() {
    return true;
}

int inUnwritableFolder(const std::string&, const std::string&, const std::function<int()>&) {
    return -1;
}

} // namespace plv::test
