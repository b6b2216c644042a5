// The Qt window of Form_广告: a small fixed tool window (no taskbar entry) showing the
// advertisement page in a light HTML view. It slides up to rest on the desktop's panel: the
// screen's available geometry stands in for the taskbar window.
#pragma once

#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>

#include "ui/extras/ad_window.h"
#include "ui/extras/urls.h"

#include <QWidget>

namespace horalia::qt {

class HtmlView;
class PageLoader;
struct WebPage;

struct ScreenArea {
    QRect geometry;   // the whole screen
    QRect available;  // without the panels
};

// The primary screen's areas (empty when there is no screen).
ScreenArea PrimaryScreenArea();

// The height of a panel along the bottom edge: what the available area leaves free there.
int BottomPanelHeight(const ScreenArea& area);

class AdWindow final : public AdWindowPort {
  public:
    AdWindow(EventPump& pump, UrlOpener& opener, std::string advertisementUrl = kAdvertisementUrl,
             std::function<ScreenArea()> screenArea = PrimaryScreenArea);
    ~AdWindow() override;
    AdWindow(const AdWindow&) = delete;
    AdWindow& operator=(const AdWindow&) = delete;

    // Loads the window hidden below the screen (nothing when it is loaded already).
    void Load();
    // Clears OpenSponsorOnClose, then unloads the window.
    void UnloadQuietly();

    // The loaded window (for the tests); null when not loaded.
    QWidget* Window() const { return window_; }
    HtmlView* Browser() const { return browser_; }
    const Form_广告& Form() const { return form_; }

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
    class Frame;

    void Unload();
    void OnPageComplete(const WebPage& page);
    void ReleaseLoaderWhenIdle();

    UrlOpener& opener_;
    std::function<ScreenArea()> screenArea_;
    Form_广告 form_;
    QPointer<QWidget> window_;
    // A closed window waits for the event loop to delete it; gone by then, or deleted with this.
    QPointer<QWidget> closing_;
    HtmlView* browser_ = nullptr;  // a child of window_
    std::unique_ptr<PageLoader> loader_;
    QPointer<QObject> closingLoader_;
    // The loader is not deleted while it is reporting a page (the slide runs inside that report).
    int reportDepth_ = 0;
};

}  // namespace horalia::qt
