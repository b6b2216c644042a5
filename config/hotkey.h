// 报时热键: the key combination that announces from anywhere, as Value.ini and the advanced page
// keep it ("Ctrl+Alt+Shift+T"), and what became of it on this desktop.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace horalia {

struct Hotkey {
    bool control = false;
    bool alt = false;
    bool shift = false;
    bool win = false;  // the Windows key; Super or Meta on Linux desktops
    std::string key;   // "A".."Z", "0".."9" or "F1".."F24"

    friend bool operator==(const Hotkey&, const Hotkey&) = default;
};

// None of Windows, GNOME, KDE Plasma, XFCE, NVDA and Orca gives this combination a meaning of
// its own; see the README.
inline constexpr char kDefaultHotkey[] = "Ctrl+Alt+Shift+T";

// "Ctrl+Alt+Shift+T": the parts in any order and case, blanks around them allowed; Control, Win,
// Super and Meta are read too. A combination needs Ctrl, Alt or Win besides the key, since Shift
// and a letter alone is typing. Nothing for any other text.
std::optional<Hotkey> ParseHotkey(std::string_view text);
// The modifiers in the order Ctrl, Alt, Shift, Win, then the key.
std::string FormatHotkey(const Hotkey& hotkey);

inline constexpr int kLastFunctionKey = 24;
// A key's function-key number: 1 for "F1" up to 24 for "F24"; 0 for any other key.
int FunctionKeyNumber(std::string_view key);
// "F1".."F24" for 1..24; empty for another number.
std::string FunctionKeyName(int number);

enum class HotkeyState {
    kNone,         // no combination set
    kActive,       // held by this program
    kTaken,        // another program holds it
    kUnavailable,  // this desktop lets no program have a global key
};

// What the advanced page says beside the combination; empty when there is nothing to say.
std::string HotkeyStateText(HotkeyState state);

}  // namespace horalia
