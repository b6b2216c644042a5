// The desktop portal (xdg-desktop-portal) on the session bus: its names, and where it answers a
// request.
#pragma once

#include <QDBusConnection>
#include <QString>

namespace horalia::qt {

inline const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
inline const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
inline const QString kPortalRequest = QStringLiteral("org.freedesktop.portal.Request");

// The request object of a call made on bus with this handle_token: known before the call, so
// that the portal's Response cannot come before anyone listens.
QString PortalRequestPath(const QDBusConnection& bus, const QString& token);

}  // namespace horalia::qt
