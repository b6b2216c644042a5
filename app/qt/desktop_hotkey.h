// 报时热键 on a Linux desktop: a key grab on X11, the desktop portal's global shortcuts on
// Wayland. A press comes back through OnPressed.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "app/main_form_ports.h"

namespace horalia::qt {

class DesktopHotkey : public HotkeyPort {
  public:
    void OnPressed(std::function<void()> pressed) { pressed_ = std::move(pressed); }

  protected:
    void Pressed() {
        if (pressed_) {
            pressed_();
        }
    }

  private:
    std::function<void()> pressed_;
};

// The one this desktop has: X11's, the portal's on Wayland, or one that is always unavailable.
std::unique_ptr<DesktopHotkey> MakeDesktopHotkey();

}  // namespace horalia::qt
