#include "app/win32/shell_process.h"

#include <windows.h>

#include "app/win32/main_window.h"
#include "common/win32/ansi_text.h"

namespace horalia::win32 {

bool ShellProcess::MarkerWindowExists(const std::string& title) {
    return FindWindowA(nullptr, Utf8ToAnsi(title).c_str()) != nullptr;
}

void ShellProcess::EndProcessNow() {
    ExitProcess(0);
}

void ShellProcess::SetCurrentFolder(const std::string& folder) {
    // SetCurrentDirectory makes the folder's drive the current drive as well.
    SetCurrentDirectoryW(CurrentDirectoryArgument(folder).c_str());
}

void ShellProcess::UnloadMainForm() {
    if (window_ != nullptr) {
        window_->Unload();
    } else {
        PostQuitMessage(0);
    }
}

std::wstring CurrentDirectoryArgument(const std::string& folder) {
    std::wstring wide = Utf8ToWide(folder);
    if (wide.size() == 2 && wide[1] == L':') {
        wide += L'\\';
    }
    return wide;
}

}  // namespace horalia::win32
