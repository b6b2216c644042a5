#include "app/qt/qt_process.h"

#include <unistd.h>

#include <QCoreApplication>
#include <cstdlib>

namespace horalia::qt {

bool QtProcess::MarkerWindowExists(const std::string& title) {
    const std::string path =
        InstanceLockPath(title, static_cast<unsigned>(geteuid()),
                         DisplayKey(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY")));
    return lock_.TryAcquire(path) == InstanceLock::Result::HeldElsewhere;
}

void QtProcess::EndProcessNow() {
    std::exit(0);
}

void QtProcess::SetCurrentFolder(const std::string& folder) {
    // A folder that has gone away leaves the current one as it is; nothing depends on it.
    [[maybe_unused]] const int ignored = chdir(folder.c_str());
}

void QtProcess::UnloadMainForm() {
    if (unload_) {
        unload_();
    }
    QCoreApplication::quit();
}

}  // namespace horalia::qt
