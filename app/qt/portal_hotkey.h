// The hotkey on Wayland, where no program may grab keys: the desktop portal's GlobalShortcuts
// interface (org.freedesktop.portal.Desktop), when the session's portal has it. A session holds
// one shortcut, "announce"; the portal may ask the user to confirm or change its keys.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include "app/qt/desktop_hotkey.h"

namespace horalia::qt {

// The combination as the portal's preferred_trigger writes it: "CTRL+ALT+SHIFT+t", "LOGO+F5".
QString PortalTrigger(const Hotkey& hotkey);

class PortalHotkey final : public QObject, public DesktopHotkey {
    Q_OBJECT

  public:
    explicit PortalHotkey(QDBusConnection bus = QDBusConnection::sessionBus());
    ~PortalHotkey() override;

    // kUnavailable when the portal lacks global shortcuts; otherwise kActive once the portal
    // takes the request (it answers, and may ask the user, later).
    HotkeyState Register(const Hotkey& hotkey) override;
    void Unregister() override;

  private Q_SLOTS:
    void SessionCreated(uint response, const QVariantMap& results, const QDBusMessage& message);
    void ShortcutActivated(const QDBusObjectPath& session, const QString& id, qulonglong timestamp,
                           const QVariantMap& options);

  private:
    bool OffersGlobalShortcuts();
    void ListenForResponse(const QString& request, bool listen);
    void CloseSession(const QString& session);

    QDBusConnection bus_;
    QString trigger_;
    QString request_;  // the CreateSession request not yet answered
    QString session_;
    int tokens_ = 0;
};

}  // namespace horalia::qt
