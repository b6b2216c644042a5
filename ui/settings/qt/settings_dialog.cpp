#include "ui/settings/qt/settings_dialog.h"

#include "ui/settings/settings_form.h"

namespace horalia::qt {

SettingsDialog::SettingsDialog(const SettingsDialogServices& services)
    : services_(services), advanced_(AdvancedDialogServices{services.config, services.settings}) {
    // The advanced page may have set what puts a control of this page out of force.
    advanced_.closed = [this] {
        if (window_ != nullptr) {
            presenter_->ShowState();
        }
    };
}

SettingsDialog::~SettingsDialog() {
    delete window_;
    delete closing_;
}

void SettingsDialog::Show(MainFormCallbacks& mainForm) {
    if (window_ == nullptr) {
        mainForm_ = &mainForm;
        presenter_.emplace(services_, mainForm, *this);
        // Esc and the close box: the cancel action, through the presenter.
        window_ = new CancelForwardingDialog([this] { presenter_->Command_取消_Click(); });
        CreateWidgets(*window_, SettingsForm(), *presenter_);
        presenter_->LoadDialog();
        presenter_->ShowState();
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    if (advanced_.Window() != nullptr) {
        advanced_.Show(*window_, *mainForm_);  // the page in front keeps the keyboard
    }
}

QDialog* SettingsDialog::Window() const {
    return window_;
}

void SettingsDialog::Unload() {
    if (window_ == nullptr) {
        return;
    }
    advanced_.Unload();
    window_->hide();
    // It may be inside one of its own handlers (确定, 取消, Esc): deleted once they return.
    delete closing_;
    closing_ = window_;
    window_->deleteLater();
    window_ = nullptr;
}

void SettingsDialog::ShowAdvancedPage() {
    if (window_ != nullptr) {
        advanced_.Show(*window_, *mainForm_);
    }
}

}  // namespace horalia::qt
