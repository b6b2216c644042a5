// The system web-browser control hosted in a plain window: the few OLE container interfaces it
// needs, written by hand, and its DocumentComplete event.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "common/win32/com.h"

namespace horalia::win32 {

class BrowserSite;

class BrowserHost {
  public:
    // Creates the control in-place in parent at the given client rectangle; null when the system
    // has no browser control that can be created (no HTML engine).
    static std::unique_ptr<BrowserHost> Create(HWND parent, const RECT& area,
                                               std::function<void()> onDocumentComplete);
    ~BrowserHost();
    BrowserHost(const BrowserHost&) = delete;
    BrowserHost& operator=(const BrowserHost&) = delete;

    bool Navigate(const std::string& url);

  private:
    explicit BrowserHost(ComPtr<BrowserSite> site);
    ComPtr<BrowserSite> site_;
};

}  // namespace horalia::win32
