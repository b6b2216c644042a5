#include "ui/extras/win32/shell_url_opener.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "common/win32/ansi_text.h"

namespace horalia::win32 {

void ShellUrlOpener::Open(const std::string& url) {
    ShellExecuteA(nullptr, nullptr, Utf8ToAnsi(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace horalia::win32
