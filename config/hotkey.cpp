#include "config/hotkey.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "common/trim.h"

namespace horalia {
namespace {

std::string Upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

bool IsKeyName(const std::string& name) {
    if (name.size() == 1) {
        return std::isupper(static_cast<unsigned char>(name[0])) ||
               std::isdigit(static_cast<unsigned char>(name[0]));
    }
    return FunctionKeyNumber(name) != 0;
}

// Sets the modifier the word names; false for a word that is none.
bool TakeModifier(const std::string& word, Hotkey& hotkey) {
    struct Name {
        const char* word;
        bool Hotkey::*flag;
    };
    static constexpr std::array kNames{
        Name{"CTRL", &Hotkey::control}, Name{"CONTROL", &Hotkey::control},
        Name{"ALT", &Hotkey::alt},      Name{"SHIFT", &Hotkey::shift},
        Name{"WIN", &Hotkey::win},      Name{"SUPER", &Hotkey::win},
        Name{"META", &Hotkey::win},
    };
    for (const Name& name : kNames) {
        if (word == name.word) {
            hotkey.*name.flag = true;
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<Hotkey> ParseHotkey(std::string_view text) {
    Hotkey hotkey;
    while (true) {
        const std::size_t plus = text.find('+');
        const std::string word = Upper(Trimmed(text.substr(0, plus)));
        if (plus == std::string_view::npos) {
            if (!IsKeyName(word) || !(hotkey.control || hotkey.alt || hotkey.win)) {
                return std::nullopt;
            }
            hotkey.key = word;
            return hotkey;
        }
        if (!TakeModifier(word, hotkey)) {
            return std::nullopt;
        }
        text.remove_prefix(plus + 1);
    }
}

std::string FormatHotkey(const Hotkey& hotkey) {
    std::string text;
    for (const auto& [held, name] :
         {std::pair{hotkey.control, "Ctrl+"}, std::pair{hotkey.alt, "Alt+"},
          std::pair{hotkey.shift, "Shift+"}, std::pair{hotkey.win, "Win+"}}) {
        if (held) {
            text += name;
        }
    }
    return text + hotkey.key;
}

int FunctionKeyNumber(std::string_view key) {
    if (key.size() < 2 || key.size() > 3 || key[0] != 'F' || key[1] == '0') {
        return 0;
    }
    int number = 0;
    const auto [end, error] = std::from_chars(key.data() + 1, key.data() + key.size(), number);
    const bool whole = error == std::errc() && end == key.data() + key.size();
    return whole && number >= 1 && number <= kLastFunctionKey ? number : 0;
}

std::string FunctionKeyName(int number) {
    return number >= 1 && number <= kLastFunctionKey ? "F" + std::to_string(number) : "";
}

std::string HotkeyStateText(HotkeyState state) {
    switch (state) {
        case HotkeyState::kTaken:
            return "已被其他程序占用";
        case HotkeyState::kUnavailable:
            return "此桌面不支持全局热键";
        case HotkeyState::kNone:
        case HotkeyState::kActive:
            break;
    }
    return {};
}

}  // namespace horalia
