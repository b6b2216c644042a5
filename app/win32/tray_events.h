// How the tray icon's messages and the popup menu's commands of the main window map to the main
// form's events, and the popup menu itself.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/tray_menu.h"

namespace horalia::win32 {

// The popup menu of kTrayMenu: command ids are TrayMenuIndex + 1, 关闭报时 greyed, no check marks
// yet. The caller destroys it.
HMENU CreateTrayMenu();

int MenuCommandId(TrayMenuEntry entry);
// The entry of a menu command id, or nothing for an id that is not one of the entries.
std::optional<TrayMenuEntry> MenuEntryOfCommand(WPARAM wParam);

// The button of a tray icon notification (1 left, 2 right), or nothing for the other mouse
// notifications. lParam is the callback message's; with version 4 of the notification icon API
// its low word is the event and the right button's event is WM_CONTEXTMENU, which also comes from
// the keyboard; without it, the event is the whole lParam and the right button's is WM_RBUTTONUP.
std::optional<std::int16_t> TrayButtonOf(LPARAM lParam, bool versionFour);

// The tooltip cut to what a buffer of capacity characters holds with its terminating NUL, never
// ending in half a surrogate pair.
std::wstring FitToolTip(std::wstring text, std::size_t capacity);

}  // namespace horalia::win32
