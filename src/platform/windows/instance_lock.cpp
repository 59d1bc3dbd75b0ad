#include "platform/instance_lock.h"

#include "platform/windows/utf16.h"

#include <string>
#include <windows.h>

namespace plv {

std::unique_ptr<InstanceLock> InstanceLock::acquire(const std::string& path, bool* heldElsewhere) {
    if (heldElsewhere) {
        *heldElsewhere = false;
    }
    // Not inherited: a program started later must not keep the lock.
    HANDLE h = ::CreateFileW(windows::toWide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    // A lock on a byte past any content, so the process number written below stays readable.
    OVERLAPPED at{};
    at.Offset = 0xFFFFFFF0u;
    at.OffsetHigh = 0x7FFFFFFFu;
    if (!::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        if (heldElsewhere) {
            *heldElsewhere = ::GetLastError() == ERROR_LOCK_VIOLATION;
        }
        ::CloseHandle(h);
        return nullptr;
    }
    std::string pid = std::to_string(::GetCurrentProcessId()) + "\r\n";
    DWORD written = 0;
    if (::SetEndOfFile(h)) {
        ::WriteFile(h, pid.data(), static_cast<DWORD>(pid.size()), &written, nullptr);
    }
    return std::unique_ptr<InstanceLock>(new InstanceLock(reinterpret_cast<std::intptr_t>(h)));
}

InstanceLock::~InstanceLock() {
    ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

} // namespace plv
