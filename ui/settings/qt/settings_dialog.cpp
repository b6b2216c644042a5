#include "ui/settings/qt/settings_dialog.h"

#include "ui/settings/qt/page_widgets.h"
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
        widgets_.emplace();
        widgets_->Create(*window_, SettingsForm(), [this](int id) { OnClicked(id); });
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
    // widgets_ stays until the next load: this may run inside one of its click handlers.
    window_ = nullptr;
}

void SettingsDialog::ShowField(const SettingRow& row, const FieldState& state) {
    if (widgets_) {
        ShowFieldIn(*widgets_, row, state);
    }
}

void SettingsDialog::ShowApplyEnabled(bool enabled) {
    if (widgets_) {
        widgets_->SetEnabled(kApplyControlId, enabled);
    }
}

void SettingsDialog::ShowAdvancedPage() {
    if (window_ != nullptr) {
        advanced_.Show(*window_, *mainForm_);
    }
}

void SettingsDialog::HideWindow() {
    if (window_ != nullptr) {
        window_->hide();
    }
}

void SettingsDialog::UnloadWindow() {
    Unload();
}

// The presenter decides, and the window then shows its decision.
void SettingsDialog::OnClicked(int id) {
    ForwardEvent(*widgets_, *presenter_, id);
    if (window_ != nullptr) {
        presenter_->ShowState();
    }
}

}  // namespace horalia::qt
