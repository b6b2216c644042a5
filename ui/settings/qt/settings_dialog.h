// The Qt window of Form_一般设置: a modeless dialog built from the settings form's table that
// mirrors the presenter. Its widgets forward every click to the presenter; the presenter's view
// calls set them with their signals blocked, so that a mirrored change never comes back as a
// click.
#pragma once

#include <QDialog>
#include <QPointer>
#include <optional>

#include "common/form/qt/window_support.h"
#include "ui/settings/qt/advanced_dialog.h"
#include "ui/settings/qt/page_widgets.h"
#include "ui/settings/settings_presenter.h"

namespace horalia::qt {

class SettingsDialog final : public PageDialogView {
  public:
    explicit SettingsDialog(const SettingsDialogServices& services);
    ~SettingsDialog() override;
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;

    // Loads the dialog and shows it, or brings the open one forward with its unsaved state. The
    // dialog and its advanced page switch mainForm while they are open.
    void Show(MainFormCallbacks& mainForm);
    void Unload() override;

    QDialog* Window() const override;
    // The open window's presenter (for the tests); null when closed.
    Form_一般设置* Presenter() { return window_ != nullptr ? &*presenter_ : nullptr; }

    void ShowAdvancedPage() override;

    // The advanced page, open over this dialog or not.
    AdvancedDialog& Advanced() { return advanced_; }

  private:
    SettingsDialogServices services_;
    MainFormCallbacks* mainForm_ = nullptr;  // the one the open dialog was shown for
    // Lives until the next load, as the window may be closed from inside one of its handlers.
    std::optional<Form_一般设置> presenter_;
    CancelForwardingDialog* window_ = nullptr;
    // A closed window waits for the event loop to delete it; gone by then, or deleted with this.
    QPointer<QDialog> closing_;
    AdvancedDialog advanced_;
};

}  // namespace horalia::qt
