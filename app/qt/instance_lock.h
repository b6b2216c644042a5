// The single-instance marker on Linux: a lock file per user and display, named after the main
// window's title. The running instance holds an flock on it for its whole life; the kernel drops
// the lock when the process ends, however it ends, so a crashed instance never blocks the next
// start.
#pragma once

#include <string>

#include "common/linux/unique_handles.h"

namespace horalia::qt {

// The display a program started now shows its icon on: $DISPLAY without its screen number
// (":0", ":0.0" and "unix:0" are one display), else $WAYLAND_DISPLAY, else empty. Either
// argument may be null.
std::string DisplayKey(const char* display, const char* waylandDisplay);

// /tmp/<title>-<uid>-<display>.lock (no "-<display>" when it is empty). The folder is fixed: a
// start without $XDG_RUNTIME_DIR (from su, cron or a bare shell) finds the same file as one from
// the desktop. A '/' in the title or the display would name a folder and becomes '_'.
std::string InstanceLockPath(const std::string& title, unsigned uid, const std::string& display);

class InstanceLock {
  public:
    enum class Result { Acquired, HeldElsewhere, Unavailable };

    // Opens (creating it if need be) and locks the file without waiting. Unavailable means the
    // file could not be opened, or belongs to another user: no instance can be told apart then.
    Result TryAcquire(const std::string& path);

  private:
    UniqueFd fd_;  // held locked while this instance runs
};

}  // namespace horalia::qt
