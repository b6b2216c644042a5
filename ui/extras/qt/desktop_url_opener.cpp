#include "ui/extras/qt/desktop_url_opener.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QProcess>
#include <QVariantMap>

namespace horalia::qt {
namespace {

const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");

void OpenWithProgram(const QString& program, const QString& url) {
    QProcess::startDetached(program, {url});
}

}  // namespace

void DesktopUrlOpener::Open(const std::string& url) {
    const QString text = QString::fromStdString(url);
    QDBusConnection bus = QDBusConnection::sessionBus();
    // A portal that is not running is not started for a link: xdg-open does without it.
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kPortal)) {
        OpenWithProgram(xdgOpen_, text);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        kPortal, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.OpenURI"), QStringLiteral("OpenURI"));
    call << QString() << text << QVariantMap();  // no parent window, no options
    // The portal answers with a request handle at once; an error (a portal without OpenURI, or
    // one that refuses) leaves the link to xdg-open.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                     [program = xdgOpen_, text](QDBusPendingCallWatcher* finished) {
                         if (finished->isError()) {
                             OpenWithProgram(program, text);
                         }
                         finished->deleteLater();
                     });
}

}  // namespace horalia::qt
