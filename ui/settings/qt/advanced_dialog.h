// The Qt window of Form_高级设置: a dialog built from the advanced form's table, modal to the
// settings dialog it is opened from, that mirrors the presenter. Nothing in it waits in an event
// loop of its own (the folder picker and the warning open without blocking), so that the program
// can close it at any moment.
#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <optional>

#include "common/form/qt/form_widgets.h"
#include "ui/settings/advanced_presenter.h"

namespace horalia::qt {

class AdvancedDialog final : public SettingsPageView {
  public:
    explicit AdvancedDialog(const AdvancedDialogServices& services);
    ~AdvancedDialog() override;
    AdvancedDialog(const AdvancedDialog&) = delete;
    AdvancedDialog& operator=(const AdvancedDialog&) = delete;

    // Loads the page over the owner, which takes no input while it is open; or brings the open
    // page forward.
    // mainForm: the running main form, switched while the page is open.
    void Show(QWidget& owner, MainFormCallbacks& mainForm);
    // Closes it without applying (nothing when it is not open).
    void Unload();
    // Called when the open page closes: the owner shows what the page may have changed.
    std::function<void()> closed;

    // The open window and its presenter (for the tests); null when closed.
    QDialog* Window() const { return window_; }
    Form_高级设置* Presenter() { return window_ != nullptr ? &*presenter_ : nullptr; }

    // SettingsPageView
    void ShowField(const SettingRow& row, const FieldState& state) override;
    void ShowApplyEnabled(bool enabled) override;
    void ShowMessage(const std::string& message) override;
    void ChooseFolder(const SettingRow& row, const std::string& current) override;
    void HideWindow() override;
    void UnloadWindow() override;

  private:
    void OnEvent(int id);

    AdvancedDialogServices services_;
    // Lives until the next load, as the window may be closed from inside one of its handlers.
    std::optional<Form_高级设置> presenter_;
    std::optional<FormWidgets> widgets_;
    // A child of its owner: gone with it.
    QPointer<QDialog> window_;
};

}  // namespace horalia::qt
