#include "app/qt/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <utility>

namespace horalia::qt {

std::string DisplayKey(const char* display, const char* waylandDisplay) {
    if (display != nullptr && display[0] != '\0') {
        std::string key = display;
        const std::size_t colon = key.rfind(':');
        if (colon != std::string::npos) {
            const std::size_t dot = key.find('.', colon);
            if (dot != std::string::npos) {
                key.erase(dot);  // the screen: one display has one tray
            }
            if (std::string_view(key).substr(0, colon) == "unix") {
                key.erase(0, colon);
            }
        }
        return key;
    }
    if (waylandDisplay != nullptr) {
        return waylandDisplay;
    }
    return {};
}

std::string InstanceLockPath(const std::string& title, unsigned uid, const std::string& display) {
    std::string name = title + "-" + std::to_string(uid);
    if (!display.empty()) {
        name += "-" + display;
    }
    std::replace(name.begin(), name.end(), '/', '_');
    // /tmp is shared by every user: the uid keeps one user's lock from stopping another's start.
    return "/tmp/" + name + ".lock";
}

InstanceLock::Result InstanceLock::TryAcquire(const std::string& path) {
    // O_CLOEXEC: a program started from here (the browser, an updater) must not inherit the lock
    // and keep the next start from running after this one has ended. O_NOFOLLOW: in /tmp the name
    // could be a link planted by someone else.
    UniqueFd fd(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd) {
        return Result::Unavailable;
    }
    // A file someone else made under this name, and may hold locked, says nothing about this
    // user's instances.
    struct stat st {};
    if (fstat(fd.get(), &st) != 0 || st.st_uid != geteuid()) {
        return Result::Unavailable;
    }
    if (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        return errno == EWOULDBLOCK ? Result::HeldElsewhere : Result::Unavailable;
    }
    fd_ = std::move(fd);
    return Result::Acquired;
}

}  // namespace horalia::qt
