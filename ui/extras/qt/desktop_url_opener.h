// Opening a web address with the desktop's browser.
#pragma once

#include "ui/extras/url_opener.h"

namespace horalia::qt {

class DesktopUrlOpener final : public UrlOpener {
  public:
    void Open(const std::string& url) override;
};

}  // namespace horalia::qt
