// The Win32 window of Form_一般设置: a modeless dialog built from the settings form's table that
// mirrors the presenter.
#pragma once

#include <windows.h>

#include <optional>

#include "ui/settings/settings_presenter.h"
#include "ui/settings/win32/advanced_window.h"
#include "ui/settings/win32/page_controls.h"

namespace horalia::win32 {

class SettingsWindow final : public PageWindow {
  public:
    // owner: a hidden window, so that the dialog has no taskbar button of its own.
    SettingsWindow(HINSTANCE instance, HWND owner, const SettingsDialogServices& services);
    ~SettingsWindow() override;

    // Loads the dialog and shows it, or brings the open one forward with its unsaved state. The
    // dialog and its advanced page switch mainForm while they are open.
    void Show(MainFormCallbacks& mainForm);
    void Unload() override;
    // The presenter of the open dialog (for the tests' drivers); null when closed.
    Form_一般设置* Presenter() { return presenter_ ? &*presenter_ : nullptr; }
    // The advanced page, open over this dialog or not.
    AdvancedWindow& Advanced() { return advanced_; }

    void ShowAdvancedPage() override;

  private:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    HINSTANCE instance_;
    HWND owner_;
    SettingsDialogServices services_;
    MainFormCallbacks* mainForm_ = nullptr;  // the one the open dialog was shown for
    std::optional<Form_一般设置> presenter_;
    AdvancedWindow advanced_;
};

}  // namespace horalia::win32
