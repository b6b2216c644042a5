#include "ui/extras/qt/desktop_url_opener.h"

#include "common/qt/desktop_link.h"

namespace horalia::qt {

void DesktopUrlOpener::Open(const std::string& url) {
    OpenLink(QString::fromStdString(url), nullptr, {}, xdgOpen_);
}

}  // namespace horalia::qt
