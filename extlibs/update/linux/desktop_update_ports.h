// The update check's ports on Linux desktops: libcurl, a Qt question in the program, the desktop's
// link opener.
#pragma once

#include "extlibs/update/update_check.h"

namespace horalia::update {

class DesktopUpdatePorts : public UpdatePorts {
  public:
    std::optional<std::string> Fetch(const std::string& url) override;
    // Asked on the program's own thread; without a Qt widgets program there is nobody to ask,
    // and the answer is no.
    bool AskToOpen(const std::string& version) override;
    void OpenPage(const std::string& url) override;
};

}  // namespace horalia::update
