#include "platform/files.h"

#include "platform/system.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <random>

// The part of the file system that reads the same on every system: std::filesystem with
// paths built from UTF-8, never from the system's 8-bit code page.
namespace plv::files {
namespace stdfs = std::filesystem;

namespace {

std::tm localTm(FileTime t) {
    std::time_t secs = static_cast<std::time_t>(t / 1000000000LL);
    if (t < 0 && t % 1000000000LL != 0) {
        --secs;
    }
    return system::localCalendar(secs);
}

} // namespace

stdfs::path fsPath(const std::string& path) {
    return stdfs::path(std::u8string(path.begin(), path.end()));
}

std::string utf8(const stdfs::path& path) {
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string system::uniqueSuffix() {
    static std::mt19937_64 rng{std::random_device{}()};
    return std::to_string(system::processId()) + "-" + std::to_string(rng() % 1000000007ULL);
}

bool exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && stdfs::exists(fsPath(path), ec);
}

bool isDirectory(const std::string& path) {
    std::error_code ec;
    return stdfs::is_directory(fsPath(path), ec);
}

std::optional<std::string> readAll(const std::string& path) {
    std::ifstream in(fsPath(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::error_code ec;
    auto n = stdfs::file_size(fsPath(path), ec);
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
    auto n = stdfs::file_size(fsPath(path), ec);
    if (ec) {
        return std::nullopt;
    }
    return n;
}

bool writeAll(const std::string& path, std::string_view data) {
    std::ofstream out(fsPath(path), std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.close();
    return static_cast<bool>(out);
}

bool writeAllLike(const std::string& path, std::string_view data, const std::string& model) {
    std::error_code ec;
    auto rights = stdfs::status(fsPath(model), ec).permissions();
    bool known = !ec;
    // Rights first where the file exists, so its new content is never more open than they.
    if (known && exists(path)) {
        stdfs::permissions(fsPath(path), rights, ec);
    }
    if (!writeAll(path, data)) {
        return false;
    }
    if (known) {
        stdfs::permissions(fsPath(path), rights, ec);
    }
    return true;
}

std::string resolvedPath(const std::string& path) {
    std::error_code ec;
    auto resolved = stdfs::weakly_canonical(stdfs::absolute(fsPath(path), ec), ec);
    return ec ? path : utf8(resolved);
}

bool appendAll(const std::string& path, std::string_view data) {
    std::ofstream out(fsPath(path), std::ios::binary | std::ios::app);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.close();
    return static_cast<bool>(out);
}

std::string linkTarget(const std::string& path) {
    std::string at = path;
    // As many links as the system itself follows before it gives up on a loop.
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code ec;
        if (!stdfs::is_symlink(fsPath(at), ec)) {
            return at;
        }
        stdfs::path next = stdfs::read_symlink(fsPath(at), ec);
        if (ec) {
            return at;
        }
        at = next.is_absolute() ? utf8(next)
                                : utf8((fsPath(at).parent_path() / next).lexically_normal());
    }
    return path;
}

std::string readOnlyMessage(const std::string& path) {
    return "The file " + path + " is read-only; nothing was written to it";
}

bool copyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    stdfs::copy_file(fsPath(from), fsPath(to), stdfs::copy_options::overwrite_existing, ec);
    return !ec;
}

bool copyFileAtomically(const std::string& from, const std::string& to) {
    auto data = readAll(from);
    return data && replaceFile(to, *data, {.rightsOf = from});
}

bool remove(const std::string& path) {
    std::error_code ec;
    stdfs::remove(fsPath(path), ec);
    return !ec;
}

bool makeDirectories(const std::string& path) {
    std::error_code ec;
    stdfs::create_directories(fsPath(path), ec);
    return isDirectory(path);
}

bool truncate(const std::string& path, std::uint64_t length) {
    std::error_code ec;
    stdfs::resize_file(fsPath(path), length, ec);
    return !ec;
}

std::vector<std::string> fileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : stdfs::directory_iterator(fsPath(folder), ec)) {
        std::error_code kind;
        if (entry.is_regular_file(kind)) {
            names.push_back(utf8(entry.path().filename()));
        }
    }
    return names;
}

std::string join(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    // With the system's own separators throughout, as its own programs write a path.
    return utf8((fsPath(folder) / fsPath(name)).make_preferred());
}

std::string fileName(const std::string& path) {
    return utf8(fsPath(path).filename());
}

std::string parentFolder(const std::string& path) {
    return utf8(fsPath(path).parent_path());
}

std::string baseNameWithoutExtension(const std::string& path) {
    return utf8(fsPath(path).stem());
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return samePath(a, b) || stdfs::equivalent(fsPath(a), fsPath(b), ec);
}

std::string tempFolder() {
    return system::temporaryFolder();
}

std::string makeTempFolder(const std::string& prefix) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = join(tempFolder(), prefix + system::uniqueSuffix());
        std::error_code ec;
        if (stdfs::create_directory(fsPath(candidate), ec)) {
            return candidate;
        }
    }
    return {};
}

std::string formatStoredTime(FileTime t) {
    using namespace std::chrono;
    sys_time<nanoseconds> at{nanoseconds(t)};
    auto day = floor<days>(at);
    year_month_day date{day};
    hh_mm_ss<nanoseconds> time{at - day};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02lld:%02lld:%02lld.%09lld",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<long long>(time.hours().count()),
                  static_cast<long long>(time.minutes().count()),
                  static_cast<long long>(time.seconds().count()),
                  static_cast<long long>(time.subseconds().count()));
    return buf;
}

std::optional<FileTime> parseStoredTime(const std::string& text) {
    int y = 0;
    unsigned mo = 0;
    unsigned d = 0;
    long long h = 0;
    long long mi = 0;
    long long sec = 0;
    long long nanos = 0;
    if (std::sscanf(text.c_str(), "%d-%u-%u %lld:%lld:%lld.%lld", &y, &mo, &d, &h, &mi, &sec,
                    &nanos) != 7) {
        return std::nullopt;
    }
    using namespace std::chrono;
    sys_days date{year{y} / month{mo} / day{d}};
    // Out-of-range fields carry over, as timegm does.
    return (duration_cast<nanoseconds>(date.time_since_epoch()) + hours(h) + minutes(mi) +
            seconds(sec) + nanoseconds(nanos))
        .count();
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
