// xdg-open for the two libraries on Linux desktops. Arguments go straight to posix_spawnp, never
// through a shell.
#pragma once

#include <string>

namespace horalia::desktop {

// Opens a URL (a web page or a mailto: link) with the desktop's handler. Waits a few seconds for
// xdg-open's verdict; one still running then is taken as success and reaped in the background.
bool OpenWithDesktop(const std::string& url);

}  // namespace horalia::desktop
