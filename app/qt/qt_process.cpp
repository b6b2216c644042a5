#include "app/qt/qt_process.h"

#include <unistd.h>

#include <QCoreApplication>
#include <cstdlib>

namespace horalia::qt {

bool QtProcess::MarkerWindowExists(const std::string& title) {
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    const std::string path = InstanceLockPath(title, runtimeDir != nullptr ? runtimeDir : "",
                                              static_cast<unsigned>(getuid()));
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
