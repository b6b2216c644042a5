// What both Win32 settings windows do with their controls: show a field of the page per control
// kind, and hand each control's notification to the page's presenter.
#pragma once

#include <windows.h>

#include <string>

#include "common/form/win32/form_window.h"
#include "ui/settings/settings_page.h"

namespace horalia::win32 {

// Sets the controls of the row's control to the state; an invalid box takes the focus with its
// text selected.
void ShowFieldIn(const FormControls& controls, HWND dialog, const SettingRow& row,
                 const FieldState& state);

// A warning over the dialog; the focus comes back to the box it was on.
void ShowWarning(HWND dialog, const std::string& title, const std::string& message);

// WM_COMMAND (a click, a typed edit, a new combination in a hotkey box) and WM_HSCROLL (a slider
// moved) of a page's controls, handed to the presenter.
void ForwardCommand(SettingsPagePresenter& presenter, WPARAM wParam, LPARAM lParam);
void ForwardScroll(SettingsPagePresenter& presenter, LPARAM lParam);

}  // namespace horalia::win32
