#include "common/form/qt/form_widgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <algorithm>

#include "common/form/qt/window_support.h"

namespace horalia::qt {
namespace {

using form::Kind;

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Names the widget for a screen reader; a widget whose focus goes to an inner one (a hotkey box's
// line edit) names that one too, since it is what a screen reader lands on.
void Name(QWidget& widget, const QString& name) {
    widget.setAccessibleName(name);
    for (QWidget* inner : widget.findChildren<QWidget*>()) {
        if (inner->focusPolicy() != Qt::NoFocus) {
            inner->setAccessibleName(name);
        }
    }
}

}  // namespace

void FormWidgets::Create(QWidget& window, const form::Form& form, Clicked clicked) {
    clicked_ = std::move(clicked);
    const double dpi = LogicalDpi();
    window.setWindowTitle(Text(form.caption));
    window.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
    window.setFont(DialogFont({QStringLiteral("Tahoma")}, form.fontPoints));
    FixClientSizeCentred(window, form::TwipsToPixels(form.clientWidth, dpi),
                         form::TwipsToPixels(form.clientHeight, dpi));

    QWidget* previous = nullptr;
    QWidget* focus = nullptr;
    QLabel* lastLabel = nullptr;
    std::vector<QWidget*> frames;
    const std::vector<const form::Control*> order = form::CreationOrder(form);
    for (std::size_t index = 0; index < order.size(); ++index) {
        const form::Control* control = order[index];
        QWidget* widget = Make(window, *control);
        if (form::NamingLabel(order, index) != nullptr && lastLabel != nullptr) {
            lastLabel->setBuddy(widget);
        }
        lastLabel = qobject_cast<QLabel*>(widget);
        if (form::TakesFocus(control->kind)) {
            Name(*widget, QString::fromStdString(form::AccessibleName(order, index)));
        }
        widget->setObjectName(Text(control->name));
        widget->setEnabled(control->enabled);
        if (!control->toolTip.empty()) {
            widget->setToolTip(Text(control->toolTip));
        }
        if (control->cursor == form::Cursor::Hand) {
            widget->setCursor(Qt::PointingHandCursor);
        }
        const form::PixelRect r = form::ToPixels(control->rect, dpi);
        PlaceInPixels(*widget, r.left, r.top, r.width, r.height);
        widgets_.emplace_back(control->id, widget);
        if (control->isDefault) {
            default_ = widget;
        }
        if (control->kind == Kind::GroupBox) {
            frames.push_back(widget);
        } else if (form::TakesFocus(control->kind)) {
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, widget);
            }
            previous = widget;
            if (focus == nullptr && control->enabled) {
                focus = widget;
            }
        }
    }
    // Frames lie below the controls they surround, so that those still take the clicks.
    for (QWidget* frame : frames) {
        frame->lower();
    }
    if (focus != nullptr) {
        focus->setFocus();
    }
}

QWidget* FormWidgets::Make(QWidget& window, const form::Control& control) {
    const int id = control.id;
    const QString caption = Text(control.caption);
    switch (control.kind) {
        case Kind::PushButton: {
            auto* button = new QPushButton(caption, &window);
            button->setDefault(control.isDefault);
            QObject::connect(button, &QPushButton::clicked, &window, [this, id] { clicked_(id); });
            return button;
        }
        case Kind::OptionButton: {
            auto* option = new QRadioButton(caption, &window);
            QPointer<QButtonGroup>& group = groups_[control.optionGroup];
            if (group == nullptr) {
                group = new QButtonGroup(&window);
            }
            group->addButton(option);
            QObject::connect(option, &QRadioButton::clicked, &window, [this, id] { clicked_(id); });
            return option;
        }
        case Kind::CheckBox: {
            auto* check = new QCheckBox(caption, &window);
            QObject::connect(check, &QCheckBox::clicked, &window, [this, id] { clicked_(id); });
            return check;
        }
        case Kind::GroupBox: {
            // As a Windows group box looks: the frame's top line runs through the caption, which
            // stands a little in from the frame's left edge, so captions never touch the window.
            auto* frame = new QGroupBox(caption, &window);
            frame->setStyleSheet(QStringLiteral(
                "QGroupBox { border: 1px solid palette(mid); border-radius: 2px;"
                " margin-top: 0.55em; }"
                "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0 2px; }"));
            return frame;
        }
        case Kind::TextBox:
            return new QPlainTextEdit(caption, &window);
        case Kind::EditBox: {
            auto* edit = new QLineEdit(caption, &window);
            QObject::connect(edit, &QLineEdit::textEdited, &window, [this, id] { clicked_(id); });
            return edit;
        }
        case Kind::Slider: {
            auto* slider = new QSlider(Qt::Horizontal, &window);
            slider->setRange(control.minimum, control.maximum);
            slider->setPageStep(std::max(1, (control.maximum - control.minimum) / 10));
            QObject::connect(slider, &QSlider::valueChanged, &window, [this, id] { clicked_(id); });
            return slider;
        }
        case Kind::Link: {
            // A flat button in the link's colour: a Tab stop that Enter and Space press, with an
            // action a screen reader offers.
            auto* link = new QPushButton(caption, &window);
            link->setFlat(true);
            const form::Rgb c = control.textColour.value_or(form::Rgb{0, 0, 255});
            link->setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 0;"
                                               " text-align: left; color: rgb(%1, %2, %3); }")
                                    .arg(c.red)
                                    .arg(c.green)
                                    .arg(c.blue));
            QObject::connect(link, &QPushButton::clicked, &window, [this, id] { clicked_(id); });
            return link;
        }
        case Kind::HotkeyBox: {
            auto* keys = new QKeySequenceEdit(&window);
            keys->setClearButtonEnabled(true);
            // Its clear button is a tool button inside the line edit, without a text.
            for (QToolButton* clear : keys->findChildren<QToolButton*>()) {
                clear->setAccessibleName(QStringLiteral("清除"));
            }
            QObject::connect(keys, &QKeySequenceEdit::keySequenceChanged, &window,
                             [this, id] { clicked_(id); });
            return keys;
        }
        case Kind::Label:
        case Kind::Browser:
            break;
    }
    auto* label = new QLabel(caption, &window);
    if (control.textColour) {
        QPalette palette = label->palette();
        const form::Rgb c = *control.textColour;
        palette.setColor(QPalette::WindowText, QColor(c.red, c.green, c.blue));
        label->setPalette(palette);
    }
    return label;
}

void FormWidgets::SetEnabled(int id, bool enabled) {
    QWidget* widget = Widget(id);
    if (widget == nullptr) {
        return;
    }
    // Qt would pass the focus on along the Tab order; the default button is where Enter goes.
    if (!enabled && widget->hasFocus() && default_ != nullptr && default_ != widget) {
        default_->setFocus(Qt::OtherFocusReason);
    }
    widget->setEnabled(enabled);
}

QWidget* FormWidgets::Widget(int id) const {
    for (const auto& [controlId, widget] : widgets_) {
        if (controlId == id) {
            return widget;
        }
    }
    return nullptr;
}

QButtonGroup* FormWidgets::OptionGroup(int group) const {
    const auto found = groups_.find(group);
    return found == groups_.end() ? nullptr : found->second.data();
}

}  // namespace horalia::qt
