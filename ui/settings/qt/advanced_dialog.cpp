#include "ui/settings/qt/advanced_dialog.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "common/form/qt/window_support.h"
#include "ui/settings/advanced_form.h"
#include "ui/settings/settings_form.h"

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

}  // namespace

AdvancedDialog::AdvancedDialog(const AdvancedDialogServices& services) : services_(services) {}

AdvancedDialog::~AdvancedDialog() {
    delete window_.data();
}

void AdvancedDialog::Show(QWidget& owner, MainFormControls& mainForm) {
    if (window_ == nullptr) {
        presenter_.emplace(services_, mainForm, *this);
        // Esc and the close box: the cancel action, through the presenter.
        window_ = new CancelForwardingDialog([this] { presenter_->Command_取消_Click(); }, &owner);
        window_->setWindowModality(Qt::WindowModal);
        widgets_.emplace();
        widgets_->Create(*window_, AdvancedForm(), [this](int id) { OnEvent(id); });
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
    // with its owner. widgets_ and presenter_ stay until the next load.
    window_->deleteLater();
    window_ = nullptr;
}

void AdvancedDialog::ShowCheck(AdvancedCheck box, int state) {
    if (auto* check = widgets_->As<QAbstractButton>(AdvancedCheckControlId(box))) {
        const QSignalBlocker blocker(check);
        check->setChecked(state == 1);
    }
}

void AdvancedDialog::ShowText(AdvancedText field, const std::string& text) {
    if (auto* keys = widgets_->As<QKeySequenceEdit>(AdvancedTextControlId(field))) {
        // A combination the page would refuse stays in the box until the person changes it.
        const std::optional<Hotkey> hotkey = ParseHotkey(text);
        const QKeySequence wanted = hotkey ? KeySequenceOf(*hotkey) : QKeySequence();
        if ((hotkey || text.empty()) && keys->keySequence() != wanted) {
            const QSignalBlocker blocker(keys);
            keys->setKeySequence(wanted);
        }
        return;
    }
    auto* edit = widgets_->As<QLineEdit>(AdvancedTextControlId(field));
    // Set only when it differs, so that the cursor and selection stay where the person left them.
    if (edit != nullptr && edit->text() != Text(text)) {
        edit->setText(Text(text));
    }
}

void AdvancedDialog::ShowVolume(int volume) {
    if (auto* slider = widgets_->As<QSlider>(kVolumeSliderId)) {
        const QSignalBlocker blocker(slider);
        slider->setValue(volume);
    }
    if (auto* label = widgets_->As<QLabel>(kVolumeValueId)) {
        label->setText(Text(VolumeText(volume)));
    }
}

void AdvancedDialog::ShowHalfHourOption(int index) {
    if (auto* option = widgets_->As<QAbstractButton>(HalfHourOptionControlId(index))) {
        const QSignalBlocker blocker(option);
        option->setChecked(true);  // the group clears the others
    }
}

void AdvancedDialog::ShowHotkeyNote(const std::string& text) {
    if (auto* label = widgets_->As<QLabel>(kHotkeyNoteId)) {
        label->setText(Text(text));
    }
}

void AdvancedDialog::ShowQuietTimesEnabled(bool enabled) {
    for (AdvancedText field : {AdvancedText::免打扰开始, AdvancedText::免打扰结束}) {
        if (QWidget* edit = widgets_->Widget(AdvancedTextControlId(field))) {
            edit->setEnabled(enabled);
        }
    }
}

void AdvancedDialog::ShowApplyEnabled(bool enabled) {
    if (QWidget* apply = widgets_->Widget(kApplyControlId)) {
        apply->setEnabled(enabled);
    }
}

void AdvancedDialog::ShowInvalidInput(AdvancedText field, const std::string& message) {
    if (window_ == nullptr) {
        return;
    }
    if (auto* edit = widgets_->As<QLineEdit>(AdvancedTextControlId(field))) {
        edit->setFocus();
        edit->selectAll();
    }
    auto* box = new QMessageBox(QMessageBox::Warning, window_->windowTitle(), Text(message),
                                QMessageBox::Ok, window_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box->open();
}

void AdvancedDialog::ChooseFolder(const std::string& current) {
    if (window_ == nullptr) {
        return;
    }
    auto* picker = new QFileDialog(window_, QStringLiteral("选择语音目录"), Text(current));
    picker->setAttribute(Qt::WA_DeleteOnClose);
    picker->setFileMode(QFileDialog::Directory);
    picker->setOption(QFileDialog::ShowDirsOnly);
    // A choice made after the page closed goes nowhere.
    QObject::connect(picker, &QFileDialog::fileSelected, window_, [this](const QString& folder) {
        if (window_ != nullptr) {
            presenter_->FolderChosen(QDir::toNativeSeparators(folder).toStdString());
        }
    });
    picker->open();
}

void AdvancedDialog::HideWindow() {
    if (window_ != nullptr) {
        window_->hide();
    }
}

void AdvancedDialog::UnloadWindow() {
    Unload();
}

// Qt has already toggled a clicked box, moved the slider or changed the text; the presenter
// decides, and the window then shows its decision.
void AdvancedDialog::OnEvent(int id) {
    // The box tells of a new combination only a second after the keys are let go: whatever the
    // event, the presenter first learns what the box holds now.
    const int hotkeyId = AdvancedTextControlId(AdvancedText::报时热键);
    if (auto* keys = widgets_->As<QKeySequenceEdit>(hotkeyId)) {
        EditAdvancedControl(*presenter_, hotkeyId, HotkeyText(*keys));
    }
    if (id == kVolumeSliderId) {
        presenter_->SetVolume(widgets_->As<QSlider>(id)->value());
    } else if (auto* edit = widgets_->As<QLineEdit>(id)) {
        EditAdvancedControl(*presenter_, id, edit->text().toStdString());
    } else {
        ClickAdvancedControl(*presenter_, id);
    }
    if (window_ != nullptr) {
        presenter_->ShowState();
    }
}

}  // namespace horalia::qt
