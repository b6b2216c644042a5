// The process around the main form on Linux: the instance lock, the current folder, and the end
// of the event loop.
#pragma once

#include <functional>
#include <string>

#include "app/main_form_ports.h"
#include "app/qt/instance_lock.h"

namespace horalia::qt {

class QtProcess final : public ProcessPort {
  public:
    // Takes the instance lock of this user and display as it looks: when no other instance holds
    // it, this one does from then on, so two starts at the same moment cannot both go on.
    bool MarkerWindowExists(const std::string& title) override;
    void EndProcessNow() override;
    void SetCurrentFolder(const std::string& folder) override;
    // Runs the shell's unload step (the tray icon leaves), then ends the event loop.
    void UnloadMainForm() override;

    void OnUnload(std::function<void()> unload) { unload_ = std::move(unload); }

  private:
    InstanceLock lock_;
    std::function<void()> unload_;
};

}  // namespace horalia::qt
