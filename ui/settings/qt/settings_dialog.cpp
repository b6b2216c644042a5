#include "ui/settings/qt/settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <functional>

#include "ui/settings/qt/window_support.h"

namespace horalia::qt {
namespace {

// Client area, in twips.
constexpr int kClientWidth = 5730;
constexpr int kClientHeight = 3060;

struct Rect {
    int left, top, width, height;
};

struct GroupLayout {
    OptionGroup group;
    const char* name;        // of the group box
    const char* caption;     // of the group box
    const char* buttonName;  // of the option-button array
    Rect frame;
    int buttonLeft;  // the buttons are placed relative to the group box
    std::array<int, 3> buttonTops;
    std::array<const char*, 3> buttonCaptions;
};

constexpr GroupLayout kGroups[] = {
    {OptionGroup::报时设置,
     "GroupBox_报时设置",
     "报时频率",
     "Option_报时设置",
     {30, 30, 2805, 1185},
     255,
     {240, 570, 900},
     {"整点报时", "两时报时", "六时报时"}},
    {OptionGroup::格式设置,
     "GroupBox_格式设置",
     "报时格式",
     "Option_格式设置",
     {2880, 30, 2805, 1185},
     255,
     {240, 570, 900},
     {"仅报时间", "报年月日", "播放全部"}},
    {OptionGroup::广告设置,
     "GroupBox_广告设置",
     "广告设置",
     "Option_广告设置",
     {30, 1260, 2805, 1305},
     210,
     {330, 660, 0},
     {"开启显示一次", "一天显示一次", nullptr}},
};
constexpr int kOptionWidth = 2235;
constexpr int kOptionHeight = 255;

struct CheckLayout {
    CheckBox box;
    const char* name;
    const char* caption;
    int top;  // inside GroupBox_高级设置
    const char* toolTip;
};

constexpr Rect kAdvancedFrame{2880, 1260, 2805, 1305};
constexpr int kCheckLeft = 210;
constexpr int kCheckWidth = 2445;
constexpr int kCheckHeight = 195;
constexpr CheckLayout kChecks[] = {
    {CheckBox::关闭报时, "Check_关闭报时", "关闭报时", 330, nullptr},
    {CheckBox::开机启动, "Check_开机启动", "开机启动", 660,
     "开机自动启动程序，不需要可以不开启，开启会被杀毒软件拦截允许即可"},
    {CheckBox::自动校时, "Check_自动校时", "自动网络校时", 990,
     "用于自己电脑时间不准的用户，进行每小时最懂校准时间"},
};

struct ButtonLayout {
    const char* name;
    const char* caption;
    int left;
};
constexpr ButtonLayout kButtons[] = {
    {"Command_确定", "确定[&E]", 2400},
    {"Command_取消", "取消[&C]", 3540},
    {"Command_应用", "应用[&A]", 4680},
};
constexpr int kButtonTop = 2640;
constexpr int kButtonWidth = 990;
constexpr int kButtonHeight = 360;

constexpr Rect kLabel{150, 2730, 1260, 195};

std::size_t Slot(OptionGroup group) {
    return static_cast<std::size_t>(group);
}
std::size_t Slot(CheckBox box) {
    return static_cast<std::size_t>(box);
}

void Place(QWidget& widget, const Rect& r, double dpi) {
    PlaceInTwips(widget, r.left, r.top, r.width, r.height, dpi);
}

}  // namespace

// Esc and the close box both reach QDialog::reject: the cancel action, through the presenter.
class SettingsDialog::DialogWindow final : public QDialog {
  public:
    explicit DialogWindow(std::function<void()> onCancel) : onCancel_(std::move(onCancel)) {}
    void reject() override { onCancel_(); }

  private:
    std::function<void()> onCancel_;
};

SettingsDialog::SettingsDialog(const SettingsDialogServices& services) : services_(services) {}

SettingsDialog::~SettingsDialog() {
    delete window_;
    delete closing_;
}

void SettingsDialog::Show() {
    if (window_ == nullptr) {
        presenter_.emplace(services_, *this);
        window_ = new DialogWindow([this] { presenter_->Command_取消_Click(); });
        CreateControls();
        presenter_->LoadDialog();
        ShowAll();
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

QDialog* SettingsDialog::Window() const {
    return window_;
}

void SettingsDialog::Unload() {
    if (window_ == nullptr) {
        return;
    }
    window_->hide();
    // It may be inside one of its own handlers (确定, 取消, Esc): deleted once they return.
    delete closing_;
    closing_ = window_;
    window_->deleteLater();
    window_ = nullptr;
    groups_ = {};
    checks_ = {};
    apply_ = nullptr;
}

void SettingsDialog::ShowOption(OptionGroup group, int selectedIndex) {
    QButtonGroup* buttons = groups_[Slot(group)];
    if (buttons == nullptr) {
        return;
    }
    // An exclusive group cannot show "none selected" (a value with no button).
    buttons->setExclusive(false);
    for (QAbstractButton* button : buttons->buttons()) {
        const QSignalBlocker blocker(button);
        button->setChecked(buttons->id(button) == selectedIndex);
    }
    buttons->setExclusive(true);
}

void SettingsDialog::ShowCheck(CheckBox box, int state) {
    QCheckBox* check = checks_[Slot(box)];
    if (check != nullptr) {
        const QSignalBlocker blocker(check);
        check->setChecked(state == 1);
    }
}

void SettingsDialog::ShowApplyEnabled(bool enabled) {
    if (apply_ != nullptr) {
        apply_->setEnabled(enabled);
    }
}

void SettingsDialog::HideWindow() {
    if (window_ != nullptr) {
        window_->hide();
    }
}

void SettingsDialog::UnloadWindow() {
    Unload();
}

void SettingsDialog::CreateControls() {
    const double dpi = LogicalDpi();
    window_->setWindowTitle(QStringLiteral("Horalia设置"));
    window_->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                            Qt::MSWindowsFixedSizeDialogHint);
    window_->setFont(TahomaFont());
    FixClientSizeCentred(*window_, TwipsToPixels(kClientWidth, dpi),
                         TwipsToPixels(kClientHeight, dpi));

    QList<QWidget*> tabOrder;
    for (const ButtonLayout& b : kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), window_);
        button->setObjectName(QString::fromUtf8(b.name));
        Place(*button, {b.left, kButtonTop, kButtonWidth, kButtonHeight}, dpi);
        tabOrder.append(button);
    }
    auto* ok = static_cast<QPushButton*>(tabOrder[0]);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, window_,
                     [this] { presenter_->Command_确定_Click(); });
    QObject::connect(static_cast<QPushButton*>(tabOrder[1]), &QPushButton::clicked, window_,
                     [this] { presenter_->Command_取消_Click(); });
    apply_ = static_cast<QPushButton*>(tabOrder[2]);
    apply_->setEnabled(false);
    QObject::connect(apply_, &QPushButton::clicked, window_,
                     [this] { presenter_->Command_应用_Click(); });

    CreateOptionGroups(tabOrder);
    CreateChecks(tabOrder);

    // Shown, but it leads nowhere: the dialog has no advanced page.
    auto* label = new QLabel(QStringLiteral("切换到高级设置"), window_);
    label->setObjectName(QStringLiteral("Label_高级设置"));
    QPalette blue = label->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(blue);
    label->setCursor(Qt::PointingHandCursor);
    Place(*label, kLabel, dpi);

    for (qsizetype i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
    ok->setFocus();
}

void SettingsDialog::CreateOptionGroups(QList<QWidget*>& tabOrder) {
    const double dpi = LogicalDpi();
    for (const GroupLayout& g : kGroups) {
        auto* frame = new QGroupBox(QString::fromUtf8(g.caption), window_);
        frame->setObjectName(QString::fromUtf8(g.name));
        Place(*frame, g.frame, dpi);
        auto* buttons = new QButtonGroup(frame);
        for (int i = 0; i < OptionCount(g.group); ++i) {
            auto* option = new QRadioButton(QString::fromUtf8(g.buttonCaptions[i]), frame);
            // Option_报时设置(1) is named "Option_报时设置_1".
            option->setObjectName(
                QStringLiteral("%1_%2").arg(QString::fromUtf8(g.buttonName)).arg(i));
            PlaceInTwips(*option, g.buttonLeft, g.buttonTops[i], kOptionWidth, kOptionHeight, dpi);
            buttons->addButton(option, i);
            tabOrder.append(option);
        }
        groups_[Slot(g.group)] = buttons;
        const OptionGroup group = g.group;
        QObject::connect(buttons, &QButtonGroup::idClicked, frame, [this, group](int index) {
            presenter_->SelectOption(group, index);
            ShowOption(group, presenter_->SelectedOption(group));
        });
    }
}

void SettingsDialog::CreateChecks(QList<QWidget*>& tabOrder) {
    const double dpi = LogicalDpi();
    auto* frame = new QGroupBox(QStringLiteral("扩展设置"), window_);
    frame->setObjectName(QStringLiteral("GroupBox_高级设置"));
    Place(*frame, kAdvancedFrame, dpi);
    for (const CheckLayout& c : kChecks) {
        auto* check = new QCheckBox(QString::fromUtf8(c.caption), frame);
        check->setObjectName(QString::fromUtf8(c.name));
        if (c.toolTip != nullptr) {
            check->setToolTip(QString::fromUtf8(c.toolTip));
        }
        PlaceInTwips(*check, kCheckLeft, c.top, kCheckWidth, kCheckHeight, dpi);
        checks_[Slot(c.box)] = check;
        tabOrder.append(check);
        const CheckBox box = c.box;
        QObject::connect(check, &QCheckBox::clicked, frame, [this, box] { OnCheckClicked(box); });
    }
}

// Qt has toggled the box already; the presenter decides, and the box then shows its decision.
void SettingsDialog::OnCheckClicked(CheckBox box) {
    presenter_->ToggleCheck(box);
    ShowCheck(box, presenter_->Check(box));
}

// The window shows the presenter's whole state once, after the load.
void SettingsDialog::ShowAll() {
    for (OptionGroup g : {OptionGroup::报时设置, OptionGroup::格式设置, OptionGroup::广告设置}) {
        ShowOption(g, presenter_->SelectedOption(g));
    }
    for (CheckBox b : {CheckBox::关闭报时, CheckBox::开机启动, CheckBox::自动校时}) {
        ShowCheck(b, presenter_->Check(b));
    }
    ShowApplyEnabled(presenter_->ApplyEnabled());
}

}  // namespace horalia::qt
