// libUpdateCheck.so, loaded by libUpdate.so for a web address: StartUpdateCheck starts one
// background check and returns at once.
//
// The library is linked with -z nodelete, so the check's thread can never outlive its code; the
// thread is detached and touches no object with a static destructor, so a process that exits
// while a check is still waiting on the network ends cleanly.
#include <string>
#include <thread>

#include "extlibs/update/linux/desktop_update_ports.h"
#include "extlibs/update/update_check.h"

namespace {

void RunCheck(const std::string& url) {
    try {
        horalia::update::DesktopUpdatePorts ports;
        horalia::update::CheckForUpdate(url, ports);
    } catch (...) {
        // Out of memory or threads: the check is simply skipped.
    }
    horalia::update::EndCheck();
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void StartUpdateCheck(const char* url) {
    if (url == nullptr || !horalia::update::TryBeginCheck())
        return;
    try {
        std::thread(RunCheck, std::string(url)).detach();
    } catch (...) {
        horalia::update::EndCheck();
    }
}
