#include "common/form/qt/form_widgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <algorithm>

#include "common/form/qt/window_support.h"

namespace horalia::qt {
namespace {

using form::Kind;

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A label that acts on a press of the left button, as a link does.
class LabelClicks final : public QObject {
  public:
    LabelClicks(QLabel* label, std::function<void()> pressed)
        : QObject(label), pressed_(std::move(pressed)) {
        label->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            pressed_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> pressed_;
};

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
    std::vector<QWidget*> frames;
    for (const form::Control* control : form::CreationOrder(form)) {
        QWidget* widget = Make(window, *control);
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
        case Kind::HotkeyBox: {
            auto* keys = new QKeySequenceEdit(&window);
            keys->setClearButtonEnabled(true);
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
    if (control.cursor == form::Cursor::Hand) {
        new LabelClicks(label, [this, id] { clicked_(id); });
    }
    return label;
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
