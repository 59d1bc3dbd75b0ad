#pragma once

#include <functional>
#include <string>

// The rights a test gives a file, as this system records them: one promise (the rights stay,
// a read-only file is refused) tested with what each system has.
namespace plv::test {

enum class Rights {
    // POSIX: read and write for the owner alone (0600). Windows has no owner bits: the hidden
    // attribute stands in, one more attribute that a replaced file must keep.
    Private,
    // POSIX: nobody may write (0444). Windows: the read-only attribute.
    ReadOnly,
};

void giveRights(const std::string& path, Rights rights);
bool hasRights(const std::string& path, Rights rights);

// Whether this user may make symbolic links here (on Windows only with developer mode or
// administrator rights, and Wine makes none that Windows programs see).
bool symbolicLinksPossible();

// The finest step of a file's modification time: a nanosecond on POSIX systems, 100 on
// Windows.
long long fileTimeStep();

// Whether the file system compares names without letter case (Windows).
bool namesIgnoreLetterCase();

// Runs `work` in a child process for which `folder` takes no new file while the files in it
// stay writable, and returns work's result (-1 when the child could not be set up, always on
// Windows, where a folder is closed by its access-control list, which Wine ignores).
int inUnwritableFolder(const std::string& tree, const std::string& folder,
                       const std::function<int()>& work);

} // namespace plv::test
