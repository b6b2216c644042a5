// The hotkey on X11: a passive grab of the key on the root window, on Qt's own connection, for
// every state of Caps Lock and Num Lock. The presses arrive among Qt's native events.
#pragma once

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <vector>

#include "app/qt/desktop_hotkey.h"
#include "app/qt/x11_display.h"

namespace horalia::qt {

class X11Hotkey final : public DesktopHotkey, private QAbstractNativeEventFilter {
  public:
    explicit X11Hotkey(const X11Display& display);
    ~X11Hotkey() override;

    // kTaken when another client holds the combination in any lock state; kUnavailable when
    // the keyboard has no such key.
    HotkeyState Register(const Hotkey& hotkey) override;
    void Unregister() override;

  private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void Ungrab(const std::vector<std::uint16_t>& lockStates);

    xcb_connection_t* connection_;
    xcb_window_t root_;
    xcb_keycode_t keycode_ = 0;  // 0 while nothing is held
    std::uint16_t modifiers_ = 0;
    std::vector<std::uint16_t> lockStates_;  // the lock modifiers grabbed besides modifiers_
    bool down_ = false;
    xcb_timestamp_t lastRelease_ = 0;
};

}  // namespace horalia::qt
