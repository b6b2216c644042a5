#include "ui/settings/win32/settings_window.h"

#include "common/form/win32/window_support.h"
#include "ui/settings/settings_form.h"
#include "ui/settings/win32/page_controls.h"

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

void SettingsWindow::ShowField(const SettingRow& row, const FieldState& state) {
    ShowFieldIn(controls_, Handle(), row, state);
}

void SettingsWindow::ShowApplyEnabled(bool enabled) {
    controls_.SetEnabled(Handle(), kApplyControlId, enabled);
}

void SettingsWindow::ShowAdvancedPage() {
    advanced_.Show(Handle(), *mainForm_);
}

void SettingsWindow::HideWindow() {
    ShowWindow(Handle(), SW_HIDE);
}

void SettingsWindow::UnloadWindow() {
    Unload();
}

INT_PTR SettingsWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            controls_.Create(Handle(), SettingsForm());
            presenter_->LoadDialog();
            presenter_->ShowState();
            RegisterModelessDialog(Handle());
            return FALSE;  // the focus was set on 确定 already
        case WM_COMMAND:
            ForwardCommand(*presenter_, wParam, lParam);
            return TRUE;
        case WM_CLOSE:  // the close box: unload without applying
            Unload();
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<INT_PTR>(controls_.StaticColours(
                reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        case WM_SETCURSOR:
            if (controls_.SetCursorFor(reinterpret_cast<HWND>(wParam))) {
                SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            UnregisterModelessDialog(Handle());
            return TRUE;
        default:
            return FALSE;
    }
}

void SettingsWindow::OnDestroyed() {
    controls_.Clear();
}

}  // namespace horalia::win32
