// A hotkey's parts as Win32 speaks them: the key as a virtual-key code ("A".."Z" and "0".."9" are
// their own codes, "F1".."F24" are VK_F1..VK_F24), the modifiers as the hotkey control's flags.
// Beside the key names it translates, below both of its users: the main window's RegisterHotKey
// and the advanced page's hotkey control.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "config/hotkey.h"

namespace horalia::win32 {

inline UINT VirtualKeyOf(const std::string& key) {
    if (key.size() == 1) {
        return static_cast<unsigned char>(key[0]);
    }
    const int function = FunctionKeyNumber(key);
    return function != 0 ? VK_F1 + function - 1 : 0;
}

// Empty for a key a hotkey may not use.
inline std::string KeyNameOf(UINT virtualKey) {
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9')) {
        return std::string(1, static_cast<char>(virtualKey));
    }
    return FunctionKeyName(static_cast<int>(virtualKey) - VK_F1 + 1);
}

// The hotkey control's value (HKM_GETHOTKEY, HKM_SETHOTKEY) as text and back; it has no Win
// key. A key without a name gives text that ParseHotkey refuses.
inline std::string HotkeyControlText(WORD value) {
    if (value == 0) {
        return {};
    }
    const BYTE flags = HIBYTE(value);
    return FormatHotkey(Hotkey{(flags & HOTKEYF_CONTROL) != 0, (flags & HOTKEYF_ALT) != 0,
                               (flags & HOTKEYF_SHIFT) != 0, false, KeyNameOf(LOBYTE(value))});
}

inline WORD HotkeyControlValue(const std::string& text) {
    const auto hotkey = ParseHotkey(text);
    if (!hotkey) {
        return 0;
    }
    const BYTE flags = (hotkey->control ? HOTKEYF_CONTROL : 0) | (hotkey->alt ? HOTKEYF_ALT : 0) |
                       (hotkey->shift ? HOTKEYF_SHIFT : 0);
    return MAKEWORD(VirtualKeyOf(hotkey->key), flags);
}

}  // namespace horalia::win32
