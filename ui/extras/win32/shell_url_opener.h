// Opens a web address with ShellExecuteA: no owner, the default verb, a normal window.
#pragma once

#include "ui/extras/url_opener.h"

namespace horalia::win32 {

class ShellUrlOpener final : public UrlOpener {
  public:
    void Open(const std::string& url) override;
};

}  // namespace horalia::win32
