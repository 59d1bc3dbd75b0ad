#include "platform/files.h"

#include "platform/system.h"
#include "platform/windows/utf16.h"

#include <windows.h>

// The file system calls of Windows: every path goes to the system as UTF-16.
namespace plv::files {

namespace {

// 100-nanosecond ticks from 1601-01-01 (Windows' epoch) to 1970-01-01.
constexpr std::int64_t kTicksTo1970 = 116444736000000000LL;

FileTime fileTime(const FILETIME& t) {
    std::int64_t ticks = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    return (ticks - kTicksTo1970) * 100;
}

FILETIME windowsTime(FileTime t) {
    auto ticks = static_cast<std::uint64_t>(t / 100 + kTicksTo1970);
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

class Handle {
  public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    bool close() {
        bool ok = !valid() || ::CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

  private:
    HANDLE h_;
};

HANDLE openFile(const std::string& path, DWORD access, DWORD disposition) {
    return ::CreateFileW(windows::toWide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

DWORD attributesOf(const std::string& path) {
    return ::GetFileAttributesW(windows::toWide(path).c_str());
}

bool writeFully(HANDLE h, std::string_view data) {
    while (!data.empty()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(h, data.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        data.remove_prefix(written);
    }
    return true;
}

// The modification time moved past `after` on an open file, by one millisecond as on
// every other system.
bool stampAfter(HANDLE h, const std::optional<FileTime>& after) {
    if (!after) {
        return true;
    }
    FILETIME written{};
    if (!::GetFileTime(h, nullptr, nullptr, &written)) {
        return false;
    }
    if (fileTime(written) > *after) {
        return true;
    }
    FILETIME later = windowsTime(*after + 1000000);
    return ::SetFileTime(h, nullptr, nullptr, &later) != 0;
}

bool writeAndFlush(HANDLE h, std::string_view data, const ReplaceOptions& options) {
    return writeFully(h, data) && ::FlushFileBuffers(h) && stampAfter(h, options.modifiedAfter);
}

// The last way to a writable file in a folder that takes no new file: truncated and written
// where it is (see the POSIX twin).
WriteResult writeInPlace(const std::string& path, std::string_view data,
                         const ReplaceOptions& options) {
    Handle h(openFile(path, GENERIC_READ | GENERIC_WRITE, TRUNCATE_EXISTING));
    if (!h.valid()) {
        return {};
    }
    bool ok = writeAndFlush(h.get(), data, options);
    ok = h.close() && ok;
    return {ok ? WriteResult::Status::Written : WriteResult::Status::Failed};
}

bool moveOver(const std::string& from, const std::string& to) {
    return ::MoveFileExW(windows::toWide(from).c_str(), windows::toWide(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// The attributes a copy or a replacement keeps: the read-only one stands where POSIX has
// the owner's write bit.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The new content takes the old file's place: ReplaceFileW keeps the old file's security;
// where it cannot (another program holds the file), a write-through rename. The attributes
// are set again either way: not every file system's ReplaceFileW carries them over.
bool putInPlace(const std::string& temp, const std::string& path, DWORD oldAttributes) {
    bool replaced = ::ReplaceFileW(windows::toWide(path).c_str(), windows::toWide(temp).c_str(),
                                   nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) ||
                    moveOver(temp, path);
    if (replaced) {
        ::SetFileAttributesW(windows::toWide(path).c_str(), oldAttributes & kKeptAttributes);
    }
    return replaced;
}

} // namespace

std::optional<FileTime> lastModified(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(windows::toWide(path).c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    return fileTime(data.ftLastWriteTime);
}

bool setLastModified(const std::string& path, FileTime time) {
    Handle h(::CreateFileW(windows::toWide(path).c_str(), FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FILETIME t = windowsTime(time);
    return h.valid() && ::SetFileTime(h.get(), nullptr, nullptr, &t) != 0;
}

bool isReadOnly(const std::string& path) {
    DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           (attributes & FILE_ATTRIBUTE_READONLY);
}

WriteResult replaceFile(const std::string& linkOrPath, std::string_view data,
                        const ReplaceOptions& options) {
    std::string path = linkTarget(linkOrPath);
    DWORD old = attributesOf(path);
    bool exists = old != INVALID_FILE_ATTRIBUTES;
    if (exists && (old & FILE_ATTRIBUTE_DIRECTORY)) {
        return {};
    }
    if (isReadOnly(path)) {
        return {WriteResult::Status::ReadOnly};
    }
    // Beside the target, so that the rename stays on one volume and is atomic.
    std::string temp = options.temporaryName.empty()
                           ? path + ".tmp-" + system::uniqueSuffix()
                           : join(parentFolder(path), options.temporaryName);
    ::DeleteFileW(windows::toWide(temp).c_str());
    Handle h(openFile(temp, GENERIC_READ | GENERIC_WRITE, CREATE_NEW));
    if (!h.valid()) {
        bool folderRefused = ::GetLastError() == ERROR_ACCESS_DENIED;
        return exists && folderRefused ? writeInPlace(path, data, options) : WriteResult{};
    }
    bool ok = writeAndFlush(h.get(), data, options);
    ok = h.close() && ok;
    ok = ok && (exists ? putInPlace(temp, path, old) : moveOver(temp, path));
    if (!ok) {
        ::DeleteFileW(windows::toWide(temp).c_str());
        return {};
    }
    DWORD model =
        options.rightsOf.empty() ? INVALID_FILE_ATTRIBUTES : attributesOf(options.rightsOf);
    if (!exists && model != INVALID_FILE_ATTRIBUTES) {
        ::SetFileAttributesW(windows::toWide(path).c_str(), model & kKeptAttributes);
    }
    return {WriteResult::Status::Written};
}

bool renameOver(const std::string& from, const std::string& to) {
    return moveOver(from, to);
}

bool writeByteAt(const std::string& path, std::uint64_t offset, std::uint8_t value) {
    Handle h(openFile(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING));
    LARGE_INTEGER size{};
    if (!h.valid() || !::GetFileSizeEx(h.get(), &size) ||
        offset >= static_cast<std::uint64_t>(size.QuadPart)) {
        return false;
    }
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD written = 0;
    return ::SetFilePointerEx(h.get(), at, nullptr, FILE_BEGIN) &&
           ::WriteFile(h.get(), &value, 1, &written, nullptr) && written == 1 &&
           ::FlushFileBuffers(h.get());
}

bool samePath(const std::string& a, const std::string& b) {
    // Windows compares file names without regard to letter case.
    std::wstring x = fsPath(a).lexically_normal().wstring();
    std::wstring y = fsPath(b).lexically_normal().wstring();
    return ::CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(),
                                  static_cast<int>(y.size()), TRUE) == CSTR_EQUAL;
}

std::string executableFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0) {
            return ".";
        }
        if (n < name.size()) {
            name.resize(n);
            return parentFolder(windows::fromWide(name));
        }
        name.resize(name.size() * 2);
    }
}

namespace system {

std::tm localCalendar(std::time_t seconds) {
    std::tm tm{};
    ::localtime_s(&tm, &seconds);
    return tm;
}

long processId() {
    return static_cast<long>(::GetCurrentProcessId());
}

std::string temporaryFolder() {
    wchar_t buffer[MAX_PATH + 1];
    DWORD n = ::GetTempPathW(MAX_PATH + 1, buffer);
    std::string folder = n == 0 ? std::string(".") : windows::fromWide(std::wstring(buffer, n));
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) {
        folder.pop_back();
    }
    return folder;
}

} // namespace system

} // namespace plv::files
