#include "platform/files.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace plv::files {
namespace stdfs = std::filesystem;

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

std::string uniqueSuffix() {
    static std::mt19937_64 rng{std::random_device{}()};
    return std::to_string(::getpid()) + "-" + std::to_string(rng() % 1000000007ULL);
}

std::tm localTm(FileTime t) {
    std::time_t secs = static_cast<std::time_t>(t / 1000000000LL);
    if (t < 0 && t % 1000000000LL != 0) {
        --secs;
    }
    std::tm tm{};
    localtime_r(&secs, &tm);
    return tm;
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

bool exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && stdfs::exists(path, ec);
}

bool isDirectory(const std::string& path) {
    std::error_code ec;
    return stdfs::is_directory(path, ec);
}

std::optional<std::string> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::error_code ec;
    auto n = stdfs::file_size(path, ec);
    std::string data;
    if (!ec) {
        data.resize(n);
        in.read(data.data(), static_cast<std::streamsize>(n));
        data.resize(static_cast<std::size_t>(in.gcount()));
    }
    // A file that grew while it was read is read on to its end.
    char buf[65536];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        data.append(buf, static_cast<std::size_t>(in.gcount()));
    }
    return data;
}

std::optional<std::uint64_t> size(const std::string& path) {
    std::error_code ec;
    auto n = stdfs::file_size(path, ec);
    if (ec) {
        return std::nullopt;
    }
    return n;
}

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

bool writeAll(const std::string& path, std::string_view data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.close();
    return static_cast<bool>(out);
}

bool appendAll(const std::string& path, std::string_view data) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.close();
    return static_cast<bool>(out);
}

std::string linkTarget(const std::string& path) {
    std::string at = path;
    // As many links as the system itself follows before it gives up on a loop.
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code ec;
        if (!stdfs::is_symlink(at, ec)) {
            return at;
        }
        stdfs::path next = stdfs::read_symlink(at, ec);
        if (ec) {
            return at;
        }
        at = next.is_absolute()
                 ? next.string()
                 : (stdfs::path(at).parent_path() / next).lexically_normal().string();
    }
    return path;
}

bool isReadOnly(const std::string& path) {
    struct stat st {};
    // The owner's write bit, not access(2): the program may run with rights (root's) that
    // write any file, and a file its user made read-only must stay so all the same.
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0;
}

std::string readOnlyMessage(const std::string& path) {
    return "The file " + path + " is read-only; nothing was written to it";
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
    std::string temp = options.temporaryName.empty() ? path + ".tmp-" + uniqueSuffix()
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
    std::error_code ec;
    stdfs::rename(from, to, ec);
    if (ec) {
        return false;
    }
    flushToDisk(parentFolder(to).empty() ? "." : parentFolder(to));
    return true;
}

bool copyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    stdfs::copy_file(from, to, stdfs::copy_options::overwrite_existing, ec);
    return !ec;
}

bool copyFileAtomically(const std::string& from, const std::string& to) {
    auto data = readAll(from);
    return data && replaceFile(to, *data, {.rightsOf = from});
}

bool remove(const std::string& path) {
    std::error_code ec;
    stdfs::remove(path, ec);
    return !ec;
}

bool makeDirectories(const std::string& path) {
    std::error_code ec;
    stdfs::create_directories(path, ec);
    return isDirectory(path);
}

bool truncate(const std::string& path, std::uint64_t length) {
    std::error_code ec;
    stdfs::resize_file(path, length, ec);
    return !ec;
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

std::vector<std::string> fileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : stdfs::directory_iterator(folder, ec)) {
        std::error_code kind;
        if (entry.is_regular_file(kind)) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

std::string join(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    return (stdfs::path(folder) / name).string();
}

std::string fileName(const std::string& path) {
    return stdfs::path(path).filename().string();
}

std::string parentFolder(const std::string& path) {
    return stdfs::path(path).parent_path().string();
}

std::string baseNameWithoutExtension(const std::string& path) {
    return stdfs::path(path).stem().string();
}

bool samePath(const std::string& a, const std::string& b) {
    return stdfs::path(a).lexically_normal() == stdfs::path(b).lexically_normal();
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return samePath(a, b) || stdfs::equivalent(a, b, ec);
}

std::string tempFolder() {
    std::error_code ec;
    auto p = stdfs::temp_directory_path(ec);
    return ec ? std::string("/tmp") : p.string();
}

std::string makeTempFolder(const std::string& prefix) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = join(tempFolder(), prefix + uniqueSuffix());
        std::error_code ec;
        if (stdfs::create_directory(candidate, ec)) {
            return candidate;
        }
    }
    return {};
}

std::string executableFolder() {
    std::error_code ec;
    auto exe = stdfs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

std::string formatStoredTime(FileTime t) {
    std::time_t secs = static_cast<std::time_t>(t / 1000000000LL);
    long long nanos = t % 1000000000LL;
    if (nanos < 0) {
        nanos += 1000000000LL;
        --secs;
    }
    std::tm tm{};
    gmtime_r(&secs, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%09lld", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, nanos);
    return buf;
}

std::optional<FileTime> parseStoredTime(const std::string& text) {
    std::tm tm{};
    long long nanos = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d.%lld", &tm.tm_year, &tm.tm_mon, &tm.tm_mday,
                    &tm.tm_hour, &tm.tm_min, &tm.tm_sec, &nanos) != 7) {
        return std::nullopt;
    }
    tm.tm_year -= 1900;
    tm.tm_mon -= 1;
    return static_cast<FileTime>(timegm(&tm)) * 1000000000LL + nanos;
}

std::string formatLocalTime(FileTime t) {
    std::tm tm = localTm(t);
    char buf[64];
    std::strftime(buf, sizeof buf, "%m/%d/%Y %H:%M:%S", &tm);
    return buf;
}

std::string localDateMMDDYY(FileTime t) {
    std::tm tm = localTm(t);
    char buf[16];
    std::strftime(buf, sizeof buf, "%m%d%y", &tm);
    return buf;
}

FileTime now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace plv::files
