#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// File system access for the rest of the program. Paths are UTF-8 strings.
namespace plv::files {

// Nanoseconds since 1970-01-01 UTC; equal files times compare equal exactly.
using FileTime = std::int64_t;

// A path as std::filesystem holds it, read as UTF-8 on every system (never in the system's
// 8-bit code page), and back.
std::filesystem::path fsPath(const std::string& path);
std::string utf8(const std::filesystem::path& path);

bool exists(const std::string& path);
bool isDirectory(const std::string& path);
std::optional<std::string> readAll(const std::string& path);
std::optional<std::uint64_t> size(const std::string& path);
std::optional<FileTime> lastModified(const std::string& path);
bool setLastModified(const std::string& path, FileTime time);

// Plain (non-atomic) write: for logs, staging files and new files.
bool writeAll(const std::string& path, std::string_view data);
// The same, and the file gets the access rights of `model`: a copy of a private file stays
// private.
bool writeAllLike(const std::string& path, std::string_view data, const std::string& model);
bool appendAll(const std::string& path, std::string_view data);
// The file that `path` names once symbolic links are followed (to a file that may not exist
// yet); `path` itself when it is no link. Replacing a file writes there, so that a linked file
// (roaming and synced profiles often are) is changed rather than replaced by a copy.
std::string linkTarget(const std::string& path);

// What became of a write that replaces a file (or creates it).
struct WriteResult {
    enum class Status { Written, ReadOnly, Failed };
    Status status = Status::Failed;
    explicit operator bool() const { return status == Status::Written; }
    bool readOnly() const { return status == Status::ReadOnly; }
};

struct ReplaceOptions {
    // The new file's modification time is later than this even where the file-system clock
    // ticks coarsely: for readers that watch the time for a change.
    std::optional<FileTime> modifiedAfter = std::nullopt;
    // A file that does not exist yet gets the access rights of this one, as a copy does.
    std::string rightsOf = {};
    // The temporary file's name beside the target, for a writer that removes the one a
    // killed write left; a unique name when empty.
    std::string temporaryName = {};
};

// The one way every file the program replaces is written:
// - a file its user has made read-only is refused (ReadOnly) and left as it is;
// - a link is written through: the file it names is replaced and the link stays;
// - the new content goes to a temporary file beside the target, reaches the disk and is
//   renamed over the target, so a crash leaves the old content or the new, never a mix;
// - the replaced file's access rights (and owner and group, where the program may set
//   them) stay with the new one.
// A writable file in a folder where no temporary file may be made is written in place.
WriteResult replaceFile(const std::string& path, std::string_view data,
                        const ReplaceOptions& options = {});
// True when the file exists and its user has taken the right to write it away.
bool isReadOnly(const std::string& path);
// The message of a write refused because the file is read-only.
std::string readOnlyMessage(const std::string& path);

// One of the program's own files moved over another (a rebuilt database), flushed.
bool renameOver(const std::string& from, const std::string& to);
bool copyFile(const std::string& from, const std::string& to);
// Copies by replaceFile: the target is never half written, and a new one gets the access
// rights of the file it copies.
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
// Two paths that name one file as the file system compares names: letter case counts here,
// not on Windows. Links are not followed.
bool samePath(const std::string& a, const std::string& b);
// The absolute path with every symbolic link on the way followed, as far as the path exists:
// two names that reach one file by links or a relative path become one.
std::string resolvedPath(const std::string& path);
// The same path, or two names (links, hard links) of one existing file.
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
