#include "extlibs/update/update_check.h"

#include <atomic>

#include "extlibs/update/update_text.h"

namespace horalia::update {
namespace {

constinit std::atomic<bool> checkRunning{false};

}  // namespace

void CheckForUpdate(std::string_view updateUrl, UpdatePorts& ports) {
    if (!IsWebUrl(updateUrl))
        return;
    const std::optional<std::string> text = ports.Fetch(std::string(updateUrl));
    if (!text)
        return;
    const std::optional<UpdateNotice> notice = ParseUpdateText(*text);
    if (!notice || !IsNewerThanThisProgram(notice->version))
        return;
    if (ports.AskToOpen(notice->version))
        ports.OpenPage(notice->downloadPage);
}

bool TryBeginCheck() {
    bool expected = false;
    return checkRunning.compare_exchange_strong(expected, true);
}

void EndCheck() {
    checkRunning.store(false);
}

}  // namespace horalia::update
