#include "app/win32/tray_events.h"

#include <string>

#include "common/win32/ansi_text.h"

namespace horalia::win32 {

HMENU CreateTrayMenu() {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return nullptr;
    }
    for (const TrayMenuItem& item : kTrayMenu) {
        const UINT_PTR id = static_cast<UINT_PTR>(MenuCommandId(item.entry));
        if (item.separator) {
            AppendMenuW(menu, MF_SEPARATOR, id, nullptr);
            continue;
        }
        const std::wstring caption = Utf8ToWide(item.caption);
        const UINT flags = MF_STRING | (item.selectable ? MF_ENABLED : MF_GRAYED);
        AppendMenuW(menu, flags, id, caption.c_str());
    }
    return menu;
}

int MenuCommandId(TrayMenuEntry entry) {
    return TrayMenuIndex(entry) + 1;
}

std::optional<TrayMenuEntry> MenuEntryOfCommand(WPARAM wParam) {
    // HIWORD 0: from a menu (1 would be an accelerator, other values a control's notification).
    if (HIWORD(wParam) != 0) {
        return std::nullopt;
    }
    const int index = static_cast<int>(LOWORD(wParam)) - 1;
    if (index < 0 || index >= static_cast<int>(kTrayMenu.size())) {
        return std::nullopt;
    }
    return kTrayMenu[static_cast<std::size_t>(index)].entry;
}

std::optional<std::int16_t> TrayButtonOf(LPARAM lParam, bool versionFour) {
    const UINT event = versionFour ? LOWORD(lParam) : static_cast<UINT>(lParam);
    if (event == WM_LBUTTONUP) {
        return std::int16_t{1};
    }
    if (event == (versionFour ? WM_CONTEXTMENU : WM_RBUTTONUP)) {
        return std::int16_t{2};
    }
    return std::nullopt;
}

std::wstring FitToolTip(std::wstring text, std::size_t capacity) {
    if (text.size() >= capacity) {
        text.resize(capacity - 1);
        if (!text.empty() && IS_HIGH_SURROGATE(text.back())) {
            text.pop_back();
        }
    }
    return text;
}

}  // namespace horalia::win32
