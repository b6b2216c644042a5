#include "app/qt/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace horalia::qt {

std::string InstanceLockPath(const std::string& title, const std::string& runtimeDir,
                             unsigned uid) {
    std::string name = title;
    std::replace(name.begin(), name.end(), '/', '_');
    if (!runtimeDir.empty() && runtimeDir.front() == '/') {
        return runtimeDir + "/" + name + ".lock";
    }
    // /tmp is shared by every user: the uid keeps one user's lock from stopping another's start.
    return "/tmp/" + name + "-" + std::to_string(uid) + ".lock";
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

InstanceLock::Result InstanceLock::TryAcquire(const std::string& path) {
    // O_CLOEXEC: a program started from here (the browser, an updater) must not inherit the lock
    // and keep the next start from running after this one has ended. O_NOFOLLOW: in /tmp the name
    // could be a link planted by someone else.
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return Result::Unavailable;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(fd);
        return held ? Result::HeldElsewhere : Result::Unavailable;
    }
    if (fd_ >= 0) {
        close(fd_);
    }
    fd_ = fd;
    return Result::Acquired;
}

}  // namespace horalia::qt
