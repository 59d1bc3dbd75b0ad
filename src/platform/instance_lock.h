#pragma once

#include <cstdint>
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
    // The system's handle of the open lock file (a file descriptor, or a Windows HANDLE).
    explicit InstanceLock(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_;
};

} // namespace plv
