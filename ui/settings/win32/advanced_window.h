// The Win32 window of Form_高级设置: a dialog built from the advanced form's table that mirrors
// the presenter. It is modal to the settings dialog without a message loop of its own: the owner
// is disabled while it is open, so that the program can still close both at any moment.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "ui/settings/advanced_presenter.h"
#include "ui/settings/win32/page_controls.h"

namespace horalia::win32 {

class AdvancedWindow final : public PageWindow {
  public:
    AdvancedWindow(HINSTANCE instance, const AdvancedDialogServices& services);
    ~AdvancedWindow() override;

    // Loads the page over the owner, which takes no input while it is open; or brings the open
    // page forward.
    // mainForm: the running main form, switched while the page is open.
    void Show(HWND owner, MainFormCallbacks& mainForm);
    void Unload() override;
    // Called when the open page closes: the owner shows what the page may have changed.
    std::function<void()> closed;
    // The presenter of the open page (for the tests' drivers); null when closed.
    Form_高级设置* Presenter() { return Handle() != nullptr ? &*presenter_ : nullptr; }

    void ShowMessage(const std::string& message) override;
    void ChooseFolder(const SettingRow& row, const std::string& current) override;

  private:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void EnableOwner();

    HINSTANCE instance_;
    HWND owner_ = nullptr;
    AdvancedDialogServices services_;
    // Lives until the next load: a message box or the folder picker may return after the window
    // was closed under it.
    std::optional<Form_高级设置> presenter_;
};

}  // namespace horalia::win32
