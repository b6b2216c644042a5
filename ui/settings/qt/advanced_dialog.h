// The Qt window of Form_高级设置: a dialog built from the advanced form's table, modal to the
// settings dialog it is opened from, that mirrors the presenter. Nothing in it waits in an event
// loop of its own (the folder picker and the warning open without blocking), so that the program
// can close it at any moment.
#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <optional>

#include "ui/settings/advanced_presenter.h"
#include "ui/settings/qt/page_widgets.h"

namespace horalia::qt {

class AdvancedDialog final : public PageDialogView {
  public:
    explicit AdvancedDialog(const AdvancedDialogServices& services);
    ~AdvancedDialog() override;
    AdvancedDialog(const AdvancedDialog&) = delete;
    AdvancedDialog& operator=(const AdvancedDialog&) = delete;

    // Loads the page over the owner, which takes no input while it is open; or brings the open
    // page forward.
    // mainForm: the running main form, switched while the page is open.
    void Show(QWidget& owner, MainFormCallbacks& mainForm);
    void Unload() override;
    // Called when the open page closes: the owner shows what the page may have changed.
    std::function<void()> closed;

    QDialog* Window() const override { return window_; }
    // The open window's presenter (for the tests); null when closed.
    Form_高级设置* Presenter() { return window_ != nullptr ? &*presenter_ : nullptr; }

    void ShowMessage(const std::string& message) override;
    void ChooseFolder(const SettingRow& row, const std::string& current) override;

  private:
    AdvancedDialogServices services_;
    // Lives until the next load, as the window may be closed from inside one of its handlers.
    std::optional<Form_高级设置> presenter_;
    // A child of its owner: gone with it.
    QPointer<QDialog> window_;
};

}  // namespace horalia::qt
