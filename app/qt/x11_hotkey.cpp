#include "app/qt/x11_hotkey.h"

#include <xcb/xcb_keysyms.h>

#include <QCoreApplication>
#include <algorithm>
#include <string>

namespace horalia::qt {
namespace {

// Keysyms (X11/keysymdef.h): lowercase letters, digits, F1 to F35 and Num Lock.
constexpr xcb_keysym_t kKeysymA = 0x61;
constexpr xcb_keysym_t kKeysym0 = 0x30;
constexpr xcb_keysym_t kKeysymF1 = 0xffbe;
constexpr xcb_keysym_t kKeysymNumLock = 0xff7f;

// The modifiers that make up a combination; the rest of a key event's state is buttons.
constexpr std::uint16_t kModifierBits = 0xff;

xcb_keysym_t KeysymOf(const std::string& key) {
    if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z') {
        return kKeysymA + static_cast<xcb_keysym_t>(key[0] - 'A');
    }
    if (key.size() == 1 && key[0] >= '0' && key[0] <= '9') {
        return kKeysym0 + static_cast<xcb_keysym_t>(key[0] - '0');
    }
    return kKeysymF1 + static_cast<xcb_keysym_t>(FunctionKeyNumber(key) - 1);
}

// The first key that produces the keysym on this keyboard, or 0.
xcb_keycode_t KeycodeOf(xcb_key_symbols_t* symbols, xcb_keysym_t keysym) {
    const XcbReply<xcb_keycode_t> codes(xcb_key_symbols_get_keycode(symbols, keysym));
    const xcb_keycode_t code = codes != nullptr ? codes.get()[0] : 0;
    return code == XCB_NO_SYMBOL ? 0 : code;
}

// The modifier the Num Lock key sets on this keyboard (Mod2 on most), or 0 when there is none.
std::uint16_t NumLockMask(xcb_connection_t* connection, xcb_key_symbols_t* symbols) {
    const xcb_keycode_t numLock = KeycodeOf(symbols, kKeysymNumLock);
    const XcbReply<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    std::uint16_t mask = 0;
    if (numLock != 0 && mapping != nullptr) {
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mapping.get());
        const int perModifier = mapping->keycodes_per_modifier;
        for (int i = 0; i < 8 * perModifier && mask == 0; ++i) {
            if (codes[i] == numLock) {
                mask = static_cast<std::uint16_t>(1U << (i / perModifier));
            }
        }
    }
    return mask;
}

}  // namespace

X11Hotkey::X11Hotkey(const X11Display& display)
    : connection_(display.connection), root_(display.root) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11Hotkey::~X11Hotkey() {
    Unregister();
}

HotkeyState X11Hotkey::Register(const Hotkey& hotkey) {
    Unregister();
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection_);
    const xcb_keycode_t keycode = KeycodeOf(symbols, KeysymOf(hotkey.key));
    const std::uint16_t numLock = NumLockMask(connection_, symbols);
    xcb_key_symbols_free(symbols);
    if (keycode == 0) {
        return HotkeyState::kUnavailable;
    }
    const std::uint16_t modifiers =
        (hotkey.control ? XCB_MOD_MASK_CONTROL : 0) | (hotkey.alt ? XCB_MOD_MASK_1 : 0) |
        (hotkey.shift ? XCB_MOD_MASK_SHIFT : 0) | (hotkey.win ? XCB_MOD_MASK_4 : 0);
    std::vector<std::uint16_t> lockStates = {0, XCB_MOD_MASK_LOCK};
    if (numLock != 0) {
        lockStates.push_back(numLock);
        lockStates.push_back(numLock | XCB_MOD_MASK_LOCK);
    }

    // Checked, so that a grab another client holds (BadAccess) is told here, not in Qt's event
    // queue. The events are always reported to the root window, even when one of this
    // program's own windows has the focus.
    std::vector<xcb_void_cookie_t> grabs;
    for (const std::uint16_t locks : lockStates) {
        grabs.push_back(xcb_grab_key_checked(connection_, 0, root_, modifiers | locks, keycode,
                                             XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    bool refused = false;
    for (const xcb_void_cookie_t grab : grabs) {
        const XcbReply<xcb_generic_error_t> error(xcb_request_check(connection_, grab));
        refused = refused || error != nullptr;
    }
    keycode_ = keycode;
    modifiers_ = modifiers;
    lockStates_ = std::move(lockStates);
    if (refused) {
        Unregister();  // the lock states this call did get
        return HotkeyState::kTaken;
    }
    return HotkeyState::kActive;
}

void X11Hotkey::Unregister() {
    if (keycode_ == 0) {
        return;
    }
    for (const std::uint16_t locks : lockStates_) {
        xcb_ungrab_key(connection_, keycode_, root_, modifiers_ | locks);
    }
    xcb_flush(connection_);
    keycode_ = 0;
    down_ = false;
}

bool X11Hotkey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (keycode_ == 0 || eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) {
        return false;
    }
    // Press and release share one layout.
    const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
    if (key->event != root_ || key->detail != keycode_) {
        return false;
    }
    if (type == XCB_KEY_RELEASE) {  // the modifiers may be up already
        down_ = false;
        lastRelease_ = key->time;
        return true;
    }
    std::uint16_t locks = 0;
    for (const std::uint16_t lockState : lockStates_) {
        locks |= lockState;
    }
    if ((key->state & kModifierBits & ~locks) != modifiers_) {
        return false;
    }
    // A held key repeats: as further presses (Qt asks for detectable auto-repeat), or without
    // it as release-press pairs with one time stamp.
    const bool repeat = down_ || key->time == lastRelease_;
    down_ = true;
    if (!repeat) {
        Pressed();
    }
    return true;
}

}  // namespace horalia::qt
