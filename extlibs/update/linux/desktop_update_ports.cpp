#include "extlibs/update/linux/desktop_update_ports.h"

#include "extlibs/desktop/linux/desktop_process.h"
#include "extlibs/update/linux/curl_fetch.h"
#include "extlibs/update/update_text.h"

namespace horalia::update {

std::optional<std::string> DesktopUpdatePorts::Fetch(const std::string& url) {
    return FetchWithCurl(url);
}

bool DesktopUpdatePorts::AskToOpen(const std::string& version) {
    // The version is digits and dots only, so it is safe in zenity's markup too.
    const std::string question = UpdatePromptText(version);
    std::vector<std::string> argv;
    switch (desktop::FindDialogTool()) {
        case desktop::DialogTool::kZenity:
            argv = {"zenity", "--question", "--no-wrap",
                    std::string("--title=") + kUpdatePromptTitle, "--text=" + question};
            break;
        case desktop::DialogTool::kKdialog:
            argv = {"kdialog", "--title", kUpdatePromptTitle, "--yesno", question};
            break;
        case desktop::DialogTool::kNone:
            return false;
    }
    const std::optional<desktop::ChildResult> answer = desktop::RunAndWait(argv);
    return answer && answer->exitStatus == 0;
}

void DesktopUpdatePorts::OpenPage(const std::string& url) {
    desktop::OpenWithDesktop(url);
}

}  // namespace horalia::update
