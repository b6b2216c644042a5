// The single-instance marker on Linux: a per-user lock file named after the main window's title.
// The running instance holds an flock on it for its whole life; the kernel drops the lock when the
// process ends, however it ends, so a crashed instance never blocks the next start.
#pragma once

#include <string>

namespace horalia::qt {

// $XDG_RUNTIME_DIR/<title>.lock, or /tmp/<title>-<uid>.lock when the runtime folder is unset or
// not absolute. A '/' in the title would name a folder and becomes '_'.
std::string InstanceLockPath(const std::string& title, const std::string& runtimeDir, unsigned uid);

class InstanceLock {
  public:
    enum class Result { Acquired, HeldElsewhere, Unavailable };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Opens (creating it if need be) and locks the file without waiting. Unavailable means the
    // file could not be opened at all: no instance can be told apart then.
    Result TryAcquire(const std::string& path);

  private:
    int fd_ = -1;
};

}  // namespace horalia::qt
