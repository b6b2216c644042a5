// The process around the main form on Windows: the single-instance marker, the current folder and
// the end of the run.
#pragma once

#include <string>

#include "app/main_form_ports.h"

namespace horalia::win32 {

class MainWindow;

class ShellProcess final : public ProcessPort {
  public:
    // The window that UnloadMainForm unloads; until it is set, unloading only ends the loop.
    void SetMainWindow(MainWindow* window) { window_ = window; }

    // FindWindowA with no class, the title in the ANSI code page.
    bool MarkerWindowExists(const std::string& title) override;
    void EndProcessNow() override;  // exit code 0
    void SetCurrentFolder(const std::string& folder) override;
    void UnloadMainForm() override;

  private:
    MainWindow* window_ = nullptr;
};

// The folder as SetCurrentDirectory must be given it: a bare drive ("D:", the folder of
// D:\Horalia.exe) would name the drive's last current directory, not its root.
std::wstring CurrentDirectoryArgument(const std::string& folder);

}  // namespace horalia::win32
