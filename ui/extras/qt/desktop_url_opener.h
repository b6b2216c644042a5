// Opening a web address with the desktop's browser (OpenLink: the portal, or xdg-open).
#pragma once

#include <QString>
#include <utility>

#include "ui/extras/url_opener.h"

namespace horalia::qt {

class DesktopUrlOpener final : public UrlOpener {
  public:
    // xdgOpen: the program asked where no portal answers.
    explicit DesktopUrlOpener(QString xdgOpen = QStringLiteral("xdg-open"))
        : xdgOpen_(std::move(xdgOpen)) {}
    void Open(const std::string& url) override;

  private:
    QString xdgOpen_;
};

}  // namespace horalia::qt
