// What both Qt settings windows do with their widgets: show a field of the page per control
// kind, and hand each widget's event to the page's presenter.
#pragma once

#include "common/form/qt/form_widgets.h"
#include "ui/settings/settings_page.h"

namespace horalia::qt {

// Sets the widgets of the row's control to the state, with their signals blocked, so that a
// mirrored change never comes back as the person's.
void ShowFieldIn(const FormWidgets& widgets, const SettingRow& row, const FieldState& state);

// Qt has already toggled a clicked box, moved the slider or changed the text: the presenter learns
// what the widget with this id holds now, or of the click.
void ForwardEvent(const FormWidgets& widgets, SettingsPagePresenter& presenter, int id);

}  // namespace horalia::qt
