#include "ui/settings/win32/settings_window.h"

#include "ui/settings/settings_form.h"

namespace horalia::win32 {

SettingsWindow::SettingsWindow(HINSTANCE instance, HWND owner,
                               const SettingsDialogServices& services)
    : instance_(instance),
      owner_(owner),
      services_(services),
      advanced_(instance, AdvancedDialogServices{services.config, services.settings}) {
    // The advanced page may have set what puts a control of this page out of force.
    advanced_.closed = [this] {
        if (Handle() != nullptr && presenter_) {
            presenter_->ShowState();
        }
    };
}

SettingsWindow::~SettingsWindow() {
    Unload();
}

void SettingsWindow::Show(MainFormCallbacks& mainForm) {
    if (Handle() == nullptr) {
        mainForm_ = &mainForm;
        presenter_.emplace(services_, mainForm, *this);
        if (!CreateModeless(instance_, owner_, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                            WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT)) {
            return;
        }
    }
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(Handle());
    if (advanced_.Handle() != nullptr) {
        advanced_.Show(Handle(), *mainForm_);  // the page in front keeps the keyboard
    }
}

void SettingsWindow::Unload() {
    if (Handle() != nullptr) {
        advanced_.Unload();
        DestroyWindow(Handle());
    }
}

void SettingsWindow::ShowAdvancedPage() {
    advanced_.Show(Handle(), *mainForm_);
}

INT_PTR SettingsWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return OnPageMessage(SettingsForm(), *presenter_, message, wParam, lParam);
}

}  // namespace horalia::win32
