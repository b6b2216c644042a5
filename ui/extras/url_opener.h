// Opening a web address in the user's default browser (ShellExecuteA on Windows).
#pragma once

#include <string>

namespace horalia {

class UrlOpener {
  public:
    virtual ~UrlOpener() = default;
    // Failures are ignored by every caller.
    virtual void Open(const std::string& url) = 0;
};

}  // namespace horalia
