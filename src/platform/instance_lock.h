#pragma once

#include <memory>
#include <string>

namespace plv {

// A lock that one running program holds on a file: a second program (or a second holder
// in the same program) cannot take it. The system drops it when the holder ends, even
// after a crash, so a stale lock file never blocks a later start.
class InstanceLock {
  public:
    // Null when another holder has the lock (then `heldElsewhere` is set) or when the file
    // cannot be created.
    static std::unique_ptr<InstanceLock> acquire(const std::string& path,
                                                 bool* heldElsewhere = nullptr);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

  private:
    explicit InstanceLock(int fd) : fd_(fd) {}
    int fd_;
};

} // namespace plv
