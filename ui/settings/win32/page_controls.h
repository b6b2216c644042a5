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

// What both settings windows answer alike: the page's fields, 应用, hiding and unloading, and the
// messages of the page's controls.
class PageWindow : public DialogWindow, public SettingsPageView {
  public:
    // Closes it without applying (nothing when it is not open).
    virtual void Unload() = 0;

    // SettingsPageView
    void ShowField(const SettingRow& row, const FieldState& state) override;
    void ShowApplyEnabled(bool enabled) override;
    void HideWindow() override;
    void UnloadWindow() override { Unload(); }

  protected:
    // The page's own messages: its controls made from the form and loaded by the presenter, their
    // notifications handed to it, the close box, the colours and the link's cursor.
    INT_PTR OnPageMessage(const form::Form& form, SettingsPagePresenter& presenter, UINT message,
                          WPARAM wParam, LPARAM lParam);
    void OnDestroyed() override;

    FormControls controls_;
};

}  // namespace horalia::win32
