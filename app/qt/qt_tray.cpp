#include "app/qt/qt_tray.h"

#include <QAction>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QMessageBox>
#include <QPushButton>
#include <QToolTip>
#include <string>
#include <utility>

#include "app/qt/x11_display.h"
#include "app/tooltip.h"

namespace horalia::qt {
namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");

}  // namespace

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

TrayKind AvailableTray() {
    // A StatusNotifierItem host: the watcher is on the session bus and says a host is there.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface()->isServiceRegistered(kWatcher).value()) {
        // A plain Properties.Get: a QDBusInterface would introspect the watcher on every poll
        // and leave its description in the connection's cache.
        QDBusMessage get = QDBusMessage::createMethodCall(
            kWatcher, QStringLiteral("/StatusNotifierWatcher"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
        const QDBusReply<QDBusVariant> hostRegistered = bus.call(get);
        if (hostRegistered.isValid() && hostRegistered.value().variant().toBool()) {
            return TrayKind::kStatusNotifier;
        }
    }
    // An XEmbed tray on X11: the tray selection of the screen has an owner.
    const X11Display x11 = QtX11Display();
    if (x11.connection == nullptr) {
        return TrayKind::kNone;
    }
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(x11.screen);
    const xcb_atom_t atom = InternAtom(x11.connection, selection.c_str());
    if (atom == XCB_NONE) {
        return TrayKind::kNone;
    }
    const XcbReply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        x11.connection, xcb_get_selection_owner(x11.connection, atom), nullptr));
    const bool owned = owner != nullptr && owner->owner != XCB_NONE;
    return owned ? TrayKind::kXEmbedOnly : TrayKind::kNone;
}

QString ToolTipText(const std::string& crlfText) {
    QString text = QString::fromStdString(crlfText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QtTray::QtTray(const QIcon& icon) : image_(icon), toolTip_(QString::fromUtf8(kInitialToolTip)) {
    BuildMenu();
    trayPoll_.setInterval(1000);
    QObject::connect(&trayPoll_, &QTimer::timeout, [this] { ShowIfTrayAvailable(); });
}

QSystemTrayIcon& QtTray::Icon() {
    if (icon_) {
        return *icon_;
    }
    icon_ = std::make_unique<QSystemTrayIcon>(image_);
    icon_->setToolTip(toolTip_);
    icon_->setContextMenu(&menu_);
    // Queued: the click is handled from the event loop rather than inside the icon's mouse event.
    QObject::connect(
        icon_.get(), &QSystemTrayIcon::activated, icon_.get(),
        [this](QSystemTrayIcon::ActivationReason reason) {
            const std::int16_t button = TrayButton(reason);
            if (button != 0 && clicked_) {
                clicked_(button);
            }
        },
        Qt::QueuedConnection);
    return *icon_;
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
    if (!icon_ || !icon_->isVisible()) {
        trayPoll_.start();
    }
}

// A panel that hosts StatusNotifierItems usually also takes XEmbed icons and may claim that
// first: with XEmbed alone, the icon waits a second poll for the StatusNotifierItem host.
void QtTray::ShowIfTrayAvailable() {
    const TrayKind tray = AvailableTray();
    if (tray == TrayKind::kNone || (tray == TrayKind::kXEmbedOnly && ++xembedOnlyPolls_ < 2)) {
        return;
    }
    trayPoll_.stop();
    Icon().show();
    if (pendingNotification_) {
        const auto [title, text] = *std::exchange(pendingNotification_, std::nullopt);
        ShowNotification(title, text);
    }
}

void QtTray::Hide() {
    trayPoll_.stop();
    menu_.hide();
    if (icon_) {
        icon_->hide();
    }
}

void QtTray::SetToolTip(const std::string& text) {
    toolTip_ = ToolTipText(text);
    if (!icon_) {
        return;
    }
    icon_->setToolTip(toolTip_);
    // A tooltip already on screen keeps the text it was shown with: show it again, so that its
    // clock goes on. (A tray host that draws its own tooltips asks for the new text itself.)
    if (QToolTip::isVisible() && icon_->geometry().contains(QCursor::pos())) {
        QToolTip::showText(QCursor::pos(), toolTip_);
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

// One told before there is a tray (at start, when the panel comes later) waits for the icon.
void QtTray::ShowNotification(const std::string& title, const std::string& text) {
    if (icon_ && icon_->isVisible()) {
        icon_->showMessage(QString::fromStdString(title), QString::fromStdString(text),
                           QSystemTrayIcon::Information);
    } else {
        pendingNotification_.emplace(title, text);
    }
}

// Not modal: the tray, the timers and the announcements go on while the question stands.
void QtTray::AskYesNo(const std::string& title, const std::string& text,
                      std::function<void(bool yes)> answered) {
    auto* box = new QMessageBox(QMessageBox::Warning, QString::fromStdString(title),
                                QString::fromStdString(text));
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* yes = box->addButton(QStringLiteral("是"), QMessageBox::YesRole);
    QPushButton* no = box->addButton(QStringLiteral("否"), QMessageBox::NoRole);
    box->setDefaultButton(no);
    box->setEscapeButton(no);
    QObject::connect(box, &QMessageBox::finished, box, [box, yes, answered = std::move(answered)] {
        answered(box->clickedButton() == yes);
    });
    box->open();
}

}  // namespace horalia::qt
