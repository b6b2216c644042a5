// Opening a link (a web page or a mailto: address) with the desktop: through the desktop portal's
// OpenURI where a portal runs (sandboxes and Wayland desktops; the portal asks the desktop, which
// knows the user's browser and mail program), otherwise with xdg-open.
#pragma once

#include <QString>
#include <functional>

class QObject;

namespace horalia::qt {

// Whether the desktop took the link: the portal's answer or xdg-open's exit status. A desktop
// that has not answered within a few seconds (a chooser waiting for the person, a browser that
// keeps xdg-open running) is taken as having opened it.
using LinkVerdict = std::function<void(bool opened)>;

// Starts opening url and returns at once; needs a Qt event loop on the calling thread. verdict,
// when given, is called once on that thread, unless receiver is destroyed first. program is what
// runs where no portal answers.
void OpenLink(const QString& url, const QObject* receiver = nullptr, LinkVerdict verdict = {},
              const QString& program = QStringLiteral("xdg-open"));

}  // namespace horalia::qt
