#include "app/qt/desktop_hotkey.h"

#include <QGuiApplication>

#include "app/qt/portal_hotkey.h"
#include "app/qt/x11_hotkey.h"

namespace horalia::qt {
namespace {

class NoGlobalKeys final : public DesktopHotkey {
  public:
    HotkeyState Register(const Hotkey&) override { return HotkeyState::kUnavailable; }
    void Unregister() override {}
};

}  // namespace

std::unique_ptr<DesktopHotkey> MakeDesktopHotkey() {
    if (const X11Display x11 = QtX11Display(); x11.connection != nullptr) {
        return std::make_unique<X11Hotkey>(x11);
    }
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        return std::make_unique<PortalHotkey>();
    }
    return std::make_unique<NoGlobalKeys>();
}

}  // namespace horalia::qt
