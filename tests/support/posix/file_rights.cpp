#include "support/file_rights.h"

#include <filesystem>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace plv::test {
namespace fs = std::filesystem;

namespace {

fs::perms permsOf(Rights rights) {
    return rights == Rights::Private
               ? fs::perms::owner_read | fs::perms::owner_write
               : fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
}

} // namespace

void giveRights(const std::string& path, Rights rights) {
    fs::permissions(path, permsOf(rights));
}

bool hasRights(const std::string& path, Rights rights) {
    return fs::status(path).permissions() == permsOf(rights);
}

bool symbolicLinksPossible() {
    return true;
}

long long fileTimeStep() {
    return 1;
}

bool namesIgnoreLetterCase() {
    return false;
}

// The folder loses its write bits; root, whom no bit stops, gives everything under `tree`
// to the user "nobody" and runs the child as that user.
int inUnwritableFolder(const std::string& tree, const std::string& folder,
                       const std::function<int()>& work) {
    constexpr uid_t kNobody = 65534;
    bool root = ::geteuid() == 0;
    if (root) {
        ::lchown(tree.c_str(), kNobody, kNobody);
        for (const auto& entry : fs::recursive_directory_iterator(tree)) {
            ::lchown(entry.path().c_str(), kNobody, kNobody);
        }
    }
    ::chmod(folder.c_str(), 0555);
    pid_t child = ::fork();
    if (child == 0) {
        if (root &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(255);
        }
        // A temporary folder inside one closed to others cannot be reached at all.
        if (::access(tree.c_str(), R_OK | W_OK | X_OK) != 0) {
            ::_exit(255);
        }
        ::_exit(work());
    }
    int status = 0;
    bool waited = child > 0 && ::waitpid(child, &status, 0) == child;
    ::chmod(folder.c_str(), 0755);
    if (!waited || !WIFEXITED(status) || WEXITSTATUS(status) == 255) {
        return -1;
    }
    return WEXITSTATUS(status);
}

} // namespace plv::test
