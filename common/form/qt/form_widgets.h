// The Qt builder of forms as data: a form's controls as widgets of a window, each click, typed
// edit and slider move reported with the control's id.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "common/form/form.h"

class QButtonGroup;

namespace horalia::qt {

class FormWidgets {
  public:
    using Clicked = std::function<void(int id)>;

    // Gives the window the form's caption, font and fixed client size (centred, without
    // minimise and maximise buttons) and makes its controls.
    void Create(QWidget& window, const form::Form& form, Clicked clicked);

    QWidget* Widget(int id) const;
    // Enables or disables a widget; one that is disabled while it has the focus (应用 after
    // its click) first hands the focus to the default button, so that the keyboard keeps working.
    void SetEnabled(int id, bool enabled);
    template <typename T>
    T* As(int id) const {
        return qobject_cast<T*>(Widget(id));
    }
    // The exclusive group of an option-button array (form::Control::optionGroup).
    QButtonGroup* OptionGroup(int group) const;

  private:
    QWidget* Make(QWidget& window, const form::Control& control);

    Clicked clicked_;
    QPointer<QWidget> default_;
    std::vector<std::pair<int, QPointer<QWidget>>> widgets_;
    std::map<int, QPointer<QButtonGroup>> groups_;
};

}  // namespace horalia::qt
