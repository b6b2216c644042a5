#include "ui/settings/qt/page_widgets.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <optional>

namespace horalia::qt {
namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// The box's first combination as the page keeps it; a key a hotkey may not use gives text that
// the page refuses.
std::string HotkeyText(const QKeySequenceEdit& box) {
    const QKeySequence keys = box.keySequence();
    if (keys.isEmpty()) {
        return {};
    }
    const Qt::KeyboardModifiers modifiers = keys[0].keyboardModifiers();
    const int key = keys[0].key();
    const bool letterOrDigit =
        (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9);
    const std::string name = letterOrDigit ? std::string(1, static_cast<char>(key))
                                           : FunctionKeyName(key - Qt::Key_F1 + 1);
    return FormatHotkey(
        Hotkey{modifiers.testFlag(Qt::ControlModifier), modifiers.testFlag(Qt::AltModifier),
               modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::MetaModifier), name});
}

QKeySequence KeySequenceOf(const Hotkey& hotkey) {
    Qt::KeyboardModifiers modifiers;
    modifiers.setFlag(Qt::ControlModifier, hotkey.control);
    modifiers.setFlag(Qt::AltModifier, hotkey.alt);
    modifiers.setFlag(Qt::ShiftModifier, hotkey.shift);
    modifiers.setFlag(Qt::MetaModifier, hotkey.win);
    const int key =
        hotkey.key.size() == 1 ? hotkey.key[0] : Qt::Key_F1 + FunctionKeyNumber(hotkey.key) - 1;
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
}

void SetChecked(QAbstractButton* button, bool checked) {
    if (button != nullptr) {
        const QSignalBlocker blocker(button);
        button->setChecked(checked);
    }
}

// Set only when it differs, so that the cursor and selection stay where the person left them;
// an invalid box takes the focus with its text selected.
void ShowBox(QLineEdit* edit, const std::string& text, bool enabled, bool invalid) {
    if (edit == nullptr) {
        return;
    }
    if (edit->text() != Text(text)) {
        edit->setText(Text(text));
    }
    edit->setEnabled(enabled);
    if (invalid) {
        edit->setFocus();
        edit->selectAll();
    }
}

// A combination the page would refuse stays in the box until the person changes it.
void ShowHotkey(QKeySequenceEdit* keys, const std::string& text) {
    const std::optional<Hotkey> hotkey = ParseHotkey(text);
    const QKeySequence wanted = hotkey ? KeySequenceOf(*hotkey) : QKeySequence();
    if (keys != nullptr && (hotkey || text.empty()) && keys->keySequence() != wanted) {
        const QSignalBlocker blocker(keys);
        keys->setKeySequence(wanted);
    }
}

}  // namespace

void ShowFieldIn(const FormWidgets& widgets, const SettingRow& row, const FieldState& state) {
    const SettingControl& control = row.control;
    const auto id = [&](int part) { return SettingControlId(row.key, part); };
    switch (control.kind) {
        case ControlKind::kCheck:
            SetChecked(widgets.As<QAbstractButton>(id(0)), state.value == control.ticked);
            break;
        case ControlKind::kOptions:
            for (std::size_t i = 0; i < control.choices.size(); ++i) {
                auto* option = widgets.As<QAbstractButton>(id(static_cast<int>(i)));
                QButtonGroup* group = option != nullptr ? option->group() : nullptr;
                // An exclusive group cannot show "none selected" (a value with no button).
                if (group != nullptr) {
                    group->setExclusive(false);
                    SetChecked(option, state.value == OptionValue(control, i));
                    group->setExclusive(true);
                }
                if (option != nullptr) {
                    option->setEnabled(state.enabled);
                }
            }
            if (QWidget* caption = widgets.Widget(id(kCaptionPart))) {
                caption->setEnabled(state.enabled);
            }
            break;
        case ControlKind::kNumber:
            if (auto* slider = widgets.As<QSlider>(id(0))) {
                const QSignalBlocker blocker(slider);
                slider->setValue(Text(state.value).toInt());
            }
            if (auto* label = widgets.As<QLabel>(id(kValueLabelPart))) {
                label->setText(Text(state.value + control.unit));
            }
            break;
        case ControlKind::kTimeList:
            SetChecked(widgets.As<QAbstractButton>(id(0)), state.value == "1");
            ShowBox(widgets.As<QLineEdit>(id(kPeriodsPart)), state.periods, state.enabled,
                    state.invalidBox == 0);
            break;
        case ControlKind::kHotkey:
            ShowHotkey(widgets.As<QKeySequenceEdit>(id(0)), state.value);
            if (auto* note = widgets.As<QLabel>(id(kNotePart))) {
                note->setText(Text(state.note));
            }
            break;
        case ControlKind::kText:
        case ControlKind::kFolder:
            ShowBox(widgets.As<QLineEdit>(id(0)), state.value, state.enabled,
                    state.invalidBox == 0);
            break;
        case ControlKind::kNone:
            break;
    }
}

void ForwardEvent(const FormWidgets& widgets, SettingsPagePresenter& presenter, int id) {
    // A hotkey box tells of a new combination only a second after the keys are let go: whatever
    // the event, the presenter first learns what the boxes hold now.
    for (const SettingRow& row : SettingsTable()) {
        const int boxId = SettingControlId(row.key);
        if (row.control.kind == ControlKind::kHotkey) {
            if (auto* keys = widgets.As<QKeySequenceEdit>(boxId)) {
                presenter.Edit(boxId, HotkeyText(*keys));
            }
        }
    }
    if (auto* slider = widgets.As<QSlider>(id)) {
        presenter.Edit(id, std::to_string(slider->value()));
    } else if (auto* edit = widgets.As<QLineEdit>(id)) {
        presenter.Edit(id, edit->text().toStdString());
    } else if (widgets.As<QKeySequenceEdit>(id) == nullptr) {
        presenter.Click(id);
    }
}

void PageDialogView::ShowField(const SettingRow& row, const FieldState& state) {
    if (widgets_) {
        ShowFieldIn(*widgets_, row, state);
    }
}

void PageDialogView::ShowApplyEnabled(bool enabled) {
    if (widgets_) {
        widgets_->SetEnabled(kApplyControlId, enabled);
    }
}

void PageDialogView::HideWindow() {
    if (QDialog* window = Window()) {
        window->hide();
    }
}

void PageDialogView::CreateWidgets(QDialog& window, const form::Form& form,
                                   SettingsPagePresenter& presenter) {
    widgets_.emplace();
    widgets_->Create(window, form, [this, &presenter](int id) {
        ForwardEvent(*widgets_, presenter, id);
        if (Window() != nullptr) {
            presenter.ShowState();
        }
    });
}

}  // namespace horalia::qt
