#include "platform/files.h"

#include "platform/codepage.h"

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
    return static_cast<FileTime>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

bool setLastModified(const std::string& path, FileTime time) {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(time / 1000000000LL);
    times[1].tv_nsec = static_cast<long>(time % 1000000000LL);
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
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
    std::error_code ec;
    if (!stdfs::is_symlink(path, ec)) {
        return path;
    }
    auto target = stdfs::canonical(path, ec);
    return ec ? path : target.string();
}

bool replaceAtomically(const std::string& linkOrPath, std::string_view data) {
    std::string path = linkTarget(linkOrPath);
    std::string temp = path + ".tmp-" + uniqueSuffix();
    if (!writeAll(temp, data) || !flushToDisk(temp)) {
        remove(temp);
        return false;
    }
    std::error_code ec;
    stdfs::rename(temp, path, ec);
    if (ec) {
        remove(temp);
        return false;
    }
    flushToDisk(parentFolder(path).empty() ? "." : parentFolder(path));
    return true;
}

bool replaceAtomicallyAfter(const std::string& linkOrPath, std::string_view data, FileTime after) {
    std::string path = linkTarget(linkOrPath);
    std::string temp = path + ".tmp-" + uniqueSuffix();
    if (!writeAll(temp, data) || !flushToDisk(temp)) {
        remove(temp);
        return false;
    }
    auto written = lastModified(temp);
    // One millisecond survives every file system that keeps times finer than seconds.
    if (!written || (*written <= after && !setLastModified(temp, after + 1000000))) {
        remove(temp);
        return false;
    }
    if (!renameOver(temp, path)) {
        remove(temp);
        return false;
    }
    return true;
}

bool writeFlushed(const std::string& path, std::string_view data) {
    return writeAll(path, data) && flushToDisk(path);
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
    return data && replaceAtomically(to, *data);
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

bool samePathNoCase(const std::string& a, const std::string& b) {
    return equalsNoCase(stdfs::path(a).lexically_normal().string(),
                        stdfs::path(b).lexically_normal().string());
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return samePathNoCase(a, b) || stdfs::equivalent(a, b, ec);
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
