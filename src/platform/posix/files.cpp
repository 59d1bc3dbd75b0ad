#include "platform/files.h"

#include "platform/system.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The file system calls of POSIX systems: paths are passed to the system as their UTF-8 bytes.
namespace plv::files {

namespace {

bool flushToDisk(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        return false;
    }
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

FileTime fileTime(const struct timespec& t) {
    return static_cast<FileTime>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// The times utimensat and futimens take: access time left alone, modification time set.
std::array<struct timespec, 2> modificationTimes(FileTime time) {
    std::array<struct timespec, 2> times{};
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(time / 1000000000LL);
    times[1].tv_nsec = static_cast<long>(time % 1000000000LL);
    return times;
}

bool writeFully(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The modification time moved past `after` on an open file; one millisecond survives every
// file system that keeps times finer than seconds.
bool stampAfter(int fd, const std::optional<FileTime>& after) {
    if (!after) {
        return true;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return false;
    }
    if (fileTime(st.st_mtim) > *after) {
        return true;
    }
    auto times = modificationTimes(*after + 1000000);
    return ::futimens(fd, times.data()) == 0;
}

// The replaced file's owner, group and rights go to the new one. Only root may give a file
// away; anyone may keep a group they belong to. The group's rights stay only with the group:
// a file left in the writer's own group loses them.
void takeOverRights(int fd, const struct stat& old) {
    bool groupKept = ::fchown(fd, old.st_uid, old.st_gid) == 0 ||
                     ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
    mode_t mode = old.st_mode & 0777;
    ::fchmod(fd, groupKept ? mode : mode & ~static_cast<mode_t>(0070));
}

// The last way to a writable file in a folder that takes no new file: truncated and written
// where it is. A crash in the middle leaves it half written, but the user asked for the file
// to be overwritten, and a refusal would leave no way to do so.
WriteResult writeInPlace(const std::string& path, std::string_view data,
                         const ReplaceOptions& options) {
    int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    bool ok = writeFully(fd, data) && ::fsync(fd) == 0 && stampAfter(fd, options.modifiedAfter);
    ok = ::close(fd) == 0 && ok;
    return {ok ? WriteResult::Status::Written : WriteResult::Status::Failed};
}

} // namespace

std::optional<FileTime> lastModified(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return fileTime(st.st_mtim);
}

bool setLastModified(const std::string& path, FileTime time) {
    auto times = modificationTimes(time);
    return ::utimensat(AT_FDCWD, path.c_str(), times.data(), 0) == 0;
}

bool isReadOnly(const std::string& path) {
    struct stat st {};
    // The owner's write bit, not access(2): the program may run with rights (root's) that
    // write any file, and a file its user made read-only must stay so all the same.
    // Beside it, a file this process may not write (another user's) is not replaced by a
    // rename either, which would take it over.
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ((st.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0);
}

WriteResult replaceFile(const std::string& linkOrPath, std::string_view data,
                        const ReplaceOptions& options) {
    std::string path = linkTarget(linkOrPath);
    struct stat old {};
    bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        return {};
    }
    if (isReadOnly(path)) {
        return {WriteResult::Status::ReadOnly};
    }
    // Beside the target, so that the rename stays on one file system and is atomic.
    std::string folder = parentFolder(path);
    std::string temp = options.temporaryName.empty() ? path + ".tmp-" + system::uniqueSuffix()
                                                     : join(folder, options.temporaryName);
    ::unlink(temp.c_str());
    // Only its writer may read the new content until it has the old file's rights.
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
    if (fd < 0) {
        bool folderRefused = errno == EACCES || errno == EPERM;
        return exists && folderRefused ? writeInPlace(path, data, options) : WriteResult{};
    }
    struct stat model {};
    if (exists) {
        takeOverRights(fd, old);
    } else if (!options.rightsOf.empty() && ::stat(options.rightsOf.c_str(), &model) == 0) {
        ::fchmod(fd, model.st_mode & 0777);
    }
    bool ok = writeFully(fd, data) && ::fsync(fd) == 0 && stampAfter(fd, options.modifiedAfter);
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return {};
    }
    flushToDisk(folder.empty() ? "." : folder);
    return {WriteResult::Status::Written};
}

bool renameOver(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    flushToDisk(parentFolder(to).empty() ? "." : parentFolder(to));
    return true;
}

bool writeByteAt(const std::string& path, std::uint64_t offset, std::uint8_t value) {
    int fd = ::open(path.c_str(), O_WRONLY);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && offset < static_cast<std::uint64_t>(st.st_size) &&
              ::pwrite(fd, &value, 1, static_cast<off_t>(offset)) == 1 && ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool samePath(const std::string& a, const std::string& b) {
    return fsPath(a).lexically_normal() == fsPath(b).lexically_normal();
}

std::string executableFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : utf8(exe.parent_path());
}

namespace system {

std::tm localCalendar(std::time_t seconds) {
    std::tm tm{};
    localtime_r(&seconds, &tm);
    return tm;
}

long processId() {
    return static_cast<long>(::getpid());
}

std::string temporaryFolder() {
    std::error_code ec;
    auto p = std::filesystem::temp_directory_path(ec);
    return ec ? std::string("/tmp") : utf8(p);
}

} // namespace system

} // namespace plv::files
