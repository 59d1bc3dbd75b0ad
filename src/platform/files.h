#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// File system access for the rest of the program. Paths are UTF-8 strings.
namespace plv::files {

// Nanoseconds since 1970-01-01 UTC; equal files times compare equal exactly.
using FileTime = std::int64_t;

bool exists(const std::string& path);
bool isDirectory(const std::string& path);
std::optional<std::string> readAll(const std::string& path);
std::optional<std::uint64_t> size(const std::string& path);
std::optional<FileTime> lastModified(const std::string& path);
bool setLastModified(const std::string& path, FileTime time);

// Plain (non-atomic) write: for logs, staging files and new files.
bool writeAll(const std::string& path, std::string_view data);
bool appendAll(const std::string& path, std::string_view data);
// The file that `path` names once symbolic links are followed; `path` itself when it is no
// link or does not exist. Replacing a file writes here, so that a linked file (roaming and
// synced profiles often are) is changed rather than replaced by a copy.
std::string linkTarget(const std::string& path);
// Writes a temporary file beside `path`, flushes it to disk and renames it over `path`,
// so a crash leaves either the old content or the new, never a mix. A link is written
// through: the file it names is replaced.
bool replaceAtomically(const std::string& path, std::string_view data);
// The same, and the new file's modification time is later than `after` even where the
// file-system clock ticks coarsely: for readers that watch the time for a change.
bool replaceAtomicallyAfter(const std::string& path, std::string_view data, FileTime after);
// The two halves of a replacement whose temporary file has a name of its own: write the
// file and flush it to disk; then rename it over the target and flush the folder.
bool writeFlushed(const std::string& path, std::string_view data);
bool renameOver(const std::string& from, const std::string& to);
bool copyFile(const std::string& from, const std::string& to);
// Copies through a temporary file and a rename, so the target is never half written.
bool copyFileAtomically(const std::string& from, const std::string& to);
bool remove(const std::string& path);
bool makeDirectories(const std::string& path);
// Cuts the file to `length` bytes.
bool truncate(const std::string& path, std::uint64_t length);
// Overwrites the one byte at the 0-based `offset` in place and flushes it to disk; false
// when the file is shorter or cannot be written.
bool writeByteAt(const std::string& path, std::uint64_t offset, std::uint8_t value);

// The names of the files (not folders) in `folder`, in the order the file system gives
// them; none when it cannot be read.
std::vector<std::string> fileNamesIn(const std::string& folder);

std::string join(const std::string& folder, const std::string& name);
std::string fileName(const std::string& path);
std::string parentFolder(const std::string& path);
std::string baseNameWithoutExtension(const std::string& path);
bool samePathNoCase(const std::string& a, const std::string& b);
// The same path, or two names (links) of one existing file.
bool sameFile(const std::string& a, const std::string& b);
// A fresh, empty folder under the system's temporary folder.
std::string makeTempFolder(const std::string& prefix);
std::string tempFolder();
std::string executableFolder();

// "YYYY-MM-DD HH:MM:SS.nnnnnnnnn" in UTC: exact, so stored times compare as text.
std::string formatStoredTime(FileTime t);
std::optional<FileTime> parseStoredTime(const std::string& text);
// Local date and time for people: "MM/DD/YYYY HH:MM:SS".
std::string formatLocalTime(FileTime t);
// Local date as mmddyy.
std::string localDateMMDDYY(FileTime t);
FileTime now();

} // namespace plv::files
