#include "app/qt/portal_hotkey.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QList>
#include <QStringList>
#include <utility>

#include "common/qt/desktop_portal.h"

namespace horalia::qt {
namespace {

const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kShortcutId = QStringLiteral("announce");
// The portal is started on demand by the bus on first use.
constexpr int kPortalTimeoutMs = 2000;

// One entry of BindShortcuts' a(sa{sv}).
struct NewShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const NewShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, NewShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

QDBusMessage PortalCall(const QString& path, const QString& interface, const QString& method) {
    return QDBusMessage::createMethodCall(kPortalService, path, interface, method);
}

}  // namespace

QString PortalTrigger(const Hotkey& hotkey) {
    QStringList parts;
    for (const auto& [held, name] : {std::pair{hotkey.control, "CTRL"},
                                     {hotkey.alt, "ALT"},
                                     {hotkey.shift, "SHIFT"},
                                     {hotkey.win, "LOGO"}}) {
        if (held) {
            parts << QString::fromLatin1(name);
        }
    }
    // The key by its keysym name: letters in lowercase, digits and F-keys as they are.
    const QString key = QString::fromStdString(hotkey.key);
    parts << (key.size() == 1 ? key.toLower() : key);
    return parts.join(QLatin1Char('+'));
}

PortalHotkey::PortalHotkey(QDBusConnection bus) : bus_(std::move(bus)) {
    // QtDBus looks a slot's parameter types up by name: QDBusObjectPath's is known only once
    // registered.
    qRegisterMetaType<QDBusObjectPath>();
    qDBusRegisterMetaType<NewShortcut>();
    qDBusRegisterMetaType<QList<NewShortcut>>();
    bus_.connect(kPortalService, kPortalPath, kShortcuts, QStringLiteral("Activated"), this,
                 SLOT(ShortcutActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
}

PortalHotkey::~PortalHotkey() {
    Unregister();
}

bool PortalHotkey::OffersGlobalShortcuts() {
    QDBusMessage get = PortalCall(kPortalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                  QStringLiteral("Get"));
    get << kShortcuts << QStringLiteral("version");
    return bus_.call(get, QDBus::Block, kPortalTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

void PortalHotkey::ListenForResponse(const QString& request, bool listen) {
    const QString member = QStringLiteral("Response");
    const char* slot = SLOT(SessionCreated(uint, QVariantMap, QDBusMessage));
    if (listen) {
        bus_.connect(kPortalService, request, kPortalRequest, member, this, slot);
    } else {
        bus_.disconnect(kPortalService, request, kPortalRequest, member, this, slot);
    }
}

HotkeyState PortalHotkey::Register(const Hotkey& hotkey) {
    Unregister();
    if (!bus_.isConnected() || !OffersGlobalShortcuts()) {
        return HotkeyState::kUnavailable;
    }
    trigger_ = PortalTrigger(hotkey);
    const QString token = QStringLiteral("horalia%1").arg(++tokens_);
    request_ = PortalRequestPath(bus_, token);
    ListenForResponse(request_, true);
    QDBusMessage create = PortalCall(kPortalPath, kShortcuts, QStringLiteral("CreateSession"));
    create << QVariantMap{{QStringLiteral("handle_token"), token},
                          {QStringLiteral("session_handle_token"), token}};
    const QDBusMessage reply = bus_.call(create, QDBus::Block, kPortalTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        ListenForResponse(request_, false);
        request_.clear();
        return HotkeyState::kUnavailable;
    }
    // A portal older than handle tokens answers on a path of its own.
    const QString answered = reply.arguments().value(0).value<QDBusObjectPath>().path();
    if (!answered.isEmpty() && answered != request_) {
        ListenForResponse(request_, false);
        request_ = answered;
        ListenForResponse(request_, true);
    }
    return HotkeyState::kActive;
}

void PortalHotkey::SessionCreated(uint response, const QVariantMap& results,
                                  const QDBusMessage& message) {
    ListenForResponse(message.path(), false);
    // session_handle is an object path sent as a string.
    const QString session = results.value(QStringLiteral("session_handle")).toString();
    if (message.path() != request_) {  // given up before the portal answered
        CloseSession(session);
        return;
    }
    request_.clear();
    if (response != 0 || session.isEmpty()) {  // refused, by the user or the portal
        return;
    }
    session_ = session;
    QDBusMessage bind = PortalCall(kPortalPath, kShortcuts, QStringLiteral("BindShortcuts"));
    const QList<NewShortcut> shortcuts = {{kShortcutId,
                                           {{QStringLiteral("description"), QStringLiteral("报时")},
                                            {QStringLiteral("preferred_trigger"), trigger_}}}};
    bind << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(shortcuts)
         << QString()
         << QVariantMap{
                {QStringLiteral("handle_token"), QStringLiteral("horalia%1").arg(++tokens_)}};
    bus_.asyncCall(bind, kPortalTimeoutMs);
}

void PortalHotkey::ShortcutActivated(const QDBusObjectPath& session, const QString& id, qulonglong,
                                     const QVariantMap&) {
    if (!session_.isEmpty() && session.path() == session_ && id == kShortcutId) {
        Pressed();
    }
}

void PortalHotkey::CloseSession(const QString& session) {
    if (!session.isEmpty()) {
        bus_.asyncCall(PortalCall(session, QStringLiteral("org.freedesktop.portal.Session"),
                                  QStringLiteral("Close")));
    }
}

void PortalHotkey::Unregister() {
    // An unanswered request stays heard: its session is closed when it comes.
    request_.clear();
    CloseSession(session_);
    session_.clear();
}

}  // namespace horalia::qt
