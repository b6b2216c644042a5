// The Win32 window of Form_一般设置: a modeless dialog that mirrors the presenter.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "ui/settings/settings_presenter.h"

namespace horalia::win32 {

class SettingsWindow final : public SettingsDialogView {
  public:
    // owner: a hidden window, so that the dialog has no taskbar button of its own.
    SettingsWindow(HINSTANCE instance, HWND owner, const SettingsDialogServices& services);
    ~SettingsWindow() override;
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    // Loads the dialog and shows it, or brings the open one forward with its unsaved state.
    void Show();
    // Closes it without applying (nothing when it is not open).
    void Unload();
    HWND Handle() const { return window_; }
    // The presenter of the open dialog (for the tests' drivers); null when closed.
    Form_一般设置* Presenter() { return presenter_ ? &*presenter_ : nullptr; }

    // SettingsDialogView
    void ShowOption(OptionGroup group, int selectedIndex) override;
    void ShowCheck(CheckBox box, int state) override;
    void ShowApplyEnabled(bool enabled) override;
    void HideWindow() override;
    void UnloadWindow() override;

  private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void AddToolTip(HWND control, const char* utf8Text);
    void OnCommand(int id);
    void ShowAll();
    HBRUSH LabelColours(HDC dc, HWND control);

    HINSTANCE instance_;
    HWND owner_;
    SettingsDialogServices services_;
    std::optional<Form_一般设置> presenter_;
    HWND window_ = nullptr;
    HWND toolTip_ = nullptr;
    HWND label_ = nullptr;
    HFONT font_ = nullptr;
};

}  // namespace horalia::win32
