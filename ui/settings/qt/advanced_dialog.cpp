#include "ui/settings/qt/advanced_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "common/form/qt/window_support.h"
#include "ui/settings/settings_form.h"

namespace horalia::qt {

AdvancedDialog::AdvancedDialog(const AdvancedDialogServices& services) : services_(services) {}

AdvancedDialog::~AdvancedDialog() {
    delete window_.data();
}

void AdvancedDialog::Show(QWidget& owner, MainFormCallbacks& mainForm) {
    if (window_ == nullptr) {
        presenter_.emplace(services_, mainForm, *this);
        // Esc and the close box: the cancel action, through the presenter.
        window_ = new CancelForwardingDialog([this] { presenter_->Command_取消_Click(); }, &owner);
        window_->setWindowModality(Qt::WindowModal);
        CreateWidgets(*window_, AdvancedForm(), *presenter_);
        presenter_->LoadDialog();
        presenter_->ShowState();
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void AdvancedDialog::Unload() {
    if (window_ == nullptr) {
        return;
    }
    window_->hide();
    // It may be inside one of its own handlers (确定, 取消, Esc): deleted once they return, or
    // with its owner. The presenter stays until the next load.
    window_->deleteLater();
    window_ = nullptr;
    if (closed) {
        closed();
    }
}

void AdvancedDialog::ShowMessage(const std::string& message) {
    if (window_ == nullptr) {
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Warning, window_->windowTitle(),
                                QString::fromStdString(message), QMessageBox::Ok, window_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box->open();
}

void AdvancedDialog::ChooseFolder(const SettingRow& row, const std::string& current) {
    if (window_ == nullptr) {
        return;
    }
    auto* picker =
        new QFileDialog(window_, QStringLiteral("选择语音目录"), QString::fromStdString(current));
    picker->setAttribute(Qt::WA_DeleteOnClose);
    picker->setFileMode(QFileDialog::Directory);
    picker->setOption(QFileDialog::ShowDirsOnly);
    // A choice made after the page closed goes nowhere.
    QObject::connect(picker, &QFileDialog::fileSelected, window_,
                     [this, key = std::string(row.key)](const QString& folder) {
                         if (window_ != nullptr) {
                             presenter_->FolderChosen(
                                 key, QDir::toNativeSeparators(folder).toStdString());
                         }
                     });
    picker->open();
}

}  // namespace horalia::qt
