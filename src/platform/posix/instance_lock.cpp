#include "platform/instance_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace plv {

std::unique_ptr<InstanceLock> InstanceLock::acquire(const std::string& path, bool* heldElsewhere) {
    if (heldElsewhere) {
        *heldElsewhere = false;
    }
    // Close-on-exec: a program started later must not inherit, and so keep, the lock.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return nullptr;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (heldElsewhere) {
            *heldElsewhere = errno == EWOULDBLOCK;
        }
        ::close(fd);
        return nullptr;
    }
    std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] auto written = ::write(fd, pid.data(), pid.size());
    }
    return std::unique_ptr<InstanceLock>(new InstanceLock(fd));
}

InstanceLock::~InstanceLock() {
    ::close(static_cast<int>(handle_));
}

} // namespace plv
