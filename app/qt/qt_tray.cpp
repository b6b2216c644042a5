#include "app/qt/qt_tray.h"

#include <QAction>
#include <QCursor>
#include <QToolTip>

#include "app/tooltip.h"

namespace horalia::qt {

std::int16_t TrayButton(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            return 1;
        case QSystemTrayIcon::Context:
            return 2;
        default:
            return 0;
    }
}

QString ToolTipText(const std::string& crlfText) {
    QString text = QString::fromStdString(crlfText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QtTray::QtTray(const QIcon& icon) : icon_(icon) {
    icon_.setToolTip(QString::fromUtf8(kInitialToolTip));
    BuildMenu();
    icon_.setContextMenu(&menu_);
    // Queued: the click is handled from the event loop rather than inside the icon's mouse event,
    // because a left click plays a whole announcement and lets further events run meanwhile.
    QObject::connect(
        &icon_, &QSystemTrayIcon::activated, &icon_,
        [this](QSystemTrayIcon::ActivationReason reason) {
            const std::int16_t button = TrayButton(reason);
            if (button != 0 && clicked_) {
                clicked_(button);
            }
        },
        Qt::QueuedConnection);
    trayPoll_.setInterval(1000);
    QObject::connect(&trayPoll_, &QTimer::timeout, [this] { ShowIfTrayAvailable(); });
}

void QtTray::BuildMenu() {
    menu_.setTitle(QString::fromUtf8(kTrayMenuTitle));
    for (const TrayMenuItem& item : kTrayMenu) {
        QAction* action = item.separator ? menu_.addSeparator()
                                         : menu_.addAction(QString::fromUtf8(item.caption));
        if (!item.separator) {
            // Both check-mark entries are checkable; 关闭报时 is shown greyed, with its mark.
            const bool checkable = item.entry == TrayMenuEntry::托盘图标_关闭报时 ||
                                   item.entry == TrayMenuEntry::托盘图标_开机启动;
            action->setCheckable(checkable);
            action->setEnabled(item.selectable);
            const TrayMenuEntry entry = item.entry;
            QObject::connect(action, &QAction::triggered, [this, action, entry] {
                // The core owns the check mark: undo the toggle Qt made on its own.
                if (action->isCheckable()) {
                    action->setChecked(!action->isChecked());
                }
                if (chosen_) {
                    chosen_(entry);
                }
            });
        }
        actions_[TrayMenuIndex(item.entry)] = action;
    }
}

void QtTray::ShowWhenTrayAvailable() {
    ShowIfTrayAvailable();
    if (!icon_.isVisible()) {
        trayPoll_.start();
    }
}

void QtTray::ShowIfTrayAvailable() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return;
    }
    trayPoll_.stop();
    icon_.show();
}

void QtTray::Hide() {
    trayPoll_.stop();
    menu_.hide();
    icon_.hide();
}

void QtTray::SetToolTip(const std::string& text) {
    const QString tip = ToolTipText(text);
    icon_.setToolTip(tip);
    // A tooltip already on screen keeps the text it was shown with: show it again, so that its
    // clock goes on. (A tray host that draws its own tooltips asks for the new text itself.)
    if (QToolTip::isVisible() && icon_.geometry().contains(QCursor::pos())) {
        QToolTip::showText(QCursor::pos(), tip);
    }
}

void QtTray::SetMenuChecked(TrayMenuEntry entry, bool checked) {
    if (QAction* action = Action(entry); action != nullptr && action->isCheckable()) {
        action->setChecked(checked);
    }
}

// Where the tray shows the menu itself (it is the icon's context menu), it is open already.
void QtTray::PopupMenuAtPointer() {
    if (!menu_.isVisible()) {
        menu_.popup(QCursor::pos());
    }
}

void QtTray::ShowNotification(const std::string& title, const std::string& text) {
    icon_.showMessage(QString::fromStdString(title), QString::fromStdString(text),
                      QSystemTrayIcon::Information);
}

}  // namespace horalia::qt
