// The Win32 window of Form_广告: a fixed dialog-framed window hosting the web-browser control.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "common/win32/handles.h"
#include "common/win32/window.h"
#include "ui/extras/ad_window.h"
#include "ui/extras/win32/browser_host.h"

namespace horalia::win32 {

class AdWindow final : public Window, public AdWindowPort {
  public:
    // owner: a hidden window, so that the window has no taskbar button.
    // An empty advertisementUrl: the window gets no browser and never shows.
    AdWindow(HINSTANCE instance, HWND owner, EventPump& pump, UrlOpener& opener,
             std::string advertisementUrl);
    ~AdWindow() override;
    AdWindow(const AdWindow&) = delete;
    AdWindow& operator=(const AdWindow&) = delete;

    // Loads the window hidden below the screen (nothing when it is loaded already).
    void Load();
    // Clears OpenSponsorOnClose, then unloads the window.
    void UnloadQuietly();
    bool HasBrowser() const { return browser_ != nullptr; }

    // AdWindowPort
    bool CreateBrowser() override;
    void Navigate(const std::string& url) override;
    void Hide() override;
    void Show() override;
    std::int32_t TaskbarHeightPixels() override;
    int ScreenWidthPixels() override;
    int ScreenHeightPixels() override;
    int OuterWidthPixels() override;
    int OuterHeightPixels() override;
    form::PixelRect AvailableAreaPixels() override;
    void MoveLeft(int twips) override;
    void MoveTop(int twips) override;

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Unload();
    void OnDocumentComplete();
    void ReleaseBrowserWhenIdle();
    RECT OuterRect() const;

    HINSTANCE instance_;
    HWND owner_;
    Form_广告 form_;
    UniqueIcon icon_;
    std::unique_ptr<BrowserHost> browser_;
    bool oleReady_ = false;
    // The browser is not torn down while it is inside its own event (the slide runs there).
    int eventDepth_ = 0;
};

}  // namespace horalia::win32
