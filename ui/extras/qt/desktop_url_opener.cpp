#include "ui/extras/qt/desktop_url_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace horalia::qt {

void DesktopUrlOpener::Open(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace horalia::qt
