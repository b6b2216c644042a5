// What both Qt settings windows do with their widgets: show a field of the page per control
// kind, and hand each widget's event to the page's presenter.
#pragma once

#include <QDialog>
#include <optional>

#include "common/form/qt/form_widgets.h"
#include "ui/settings/settings_page.h"

namespace horalia::qt {

// Sets the widgets of the row's control to the state, with their signals blocked, so that a
// mirrored change never comes back as the person's.
void ShowFieldIn(const FormWidgets& widgets, const SettingRow& row, const FieldState& state);

// Qt has already toggled a clicked box, moved the slider or changed the text: the presenter learns
// what the widget with this id holds now, or of the click.
void ForwardEvent(const FormWidgets& widgets, SettingsPagePresenter& presenter, int id);

// What both settings windows answer alike: the page's fields, 应用, hiding and unloading.
class PageDialogView : public SettingsPageView {
  public:
    // The open window; null when closed.
    virtual QDialog* Window() const = 0;
    // Closes it without applying (nothing when it is not open).
    virtual void Unload() = 0;

    // SettingsPageView
    void ShowField(const SettingRow& row, const FieldState& state) override;
    void ShowApplyEnabled(bool enabled) override;
    void HideWindow() override;
    void UnloadWindow() override { Unload(); }

  protected:
    // Builds the form's widgets in the window. Each event goes to the presenter, which decides;
    // the window then shows its decision. They stay until the next load: a handler may close the
    // window it runs in.
    void CreateWidgets(QDialog& window, const form::Form& form, SettingsPagePresenter& presenter);

  private:
    std::optional<FormWidgets> widgets_;
};

}  // namespace horalia::qt
