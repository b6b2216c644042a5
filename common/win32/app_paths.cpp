#include "common/app_paths.h"

#include <windows.h>

#include <string>

#include "common/win32/ansi_text.h"

namespace horalia {

AppPaths CurrentAppPaths() {
    std::wstring buffer(MAX_PATH, L'\0');
    // Long paths may exceed MAX_PATH; no path is longer than 32767 characters.
    while (buffer.size() <= 32768) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            buffer.clear();
            break;
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.resize(buffer.size() * 2);  // cut off: try again with more room
    }
    if (buffer.size() > 32768) {
        buffer.clear();
    }
    return PathsBesideExecutable(win32::WideToUtf8(buffer), '\\');
}

}  // namespace horalia
