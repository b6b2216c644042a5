// Form_广告: the advertisement window's logic. It is loaded hidden below the screen, and each
// completed document slides it up until it rests on the taskbar. Positions are twips; pixels
// become twips with the fixed factor 15.
#pragma once

#include <cstdint>
#include <string>

#include "common/event_pump.h"
#include "common/form/form.h"
#include "ui/extras/url_opener.h"

namespace horalia {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kSlideStepTwips = 15;

// Form_广告 as data: its caption, its client area of 4500 x 3000 twips and the browser at (30, 0).
// The window counts 15 twips to the pixel whatever the screen's DPI: kAdPixelDpi.
const form::Form& AdForm();
inline constexpr double kAdPixelDpi = form::kTwipsPerInch / kTwipsPerPixel;
inline constexpr int kAdBrowserId = 1;

// A window position in twips as whole screen pixels, rounding down: the slide's last step (up to
// 14 twips short of the full rise) then leaves the window's bottom edge on the panel, not over it.
int TwipsToScreenPixels(int twips);

// Where the top-left corner of a window of the given outer size goes so that it lies inside the
// available area (all in pixels, from the screen's corner); it stays where it is when it fits.
struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};
PixelPoint KeepInside(PixelPoint corner, int outerWidth, int outerHeight,
                      const form::PixelRect& available);

// The window and its browser control, as the shell provides them.
class AdWindowPort {
  public:
    virtual ~AdWindowPort() = default;
    // Creates the browser control; false when there is no HTML engine to host.
    virtual bool CreateBrowser() = 0;
    virtual void Navigate(const std::string& url) = 0;  // asynchronous
    virtual void Hide() = 0;
    virtual void Show() = 0;  // modeless, without an owner; the window's frame may grow then
    // Height in pixels of the window of class "Shell_TrayWnd", 0 when there is none.
    virtual std::int32_t TaskbarHeightPixels() = 0;
    virtual int ScreenWidthPixels() = 0;
    virtual int ScreenHeightPixels() = 0;
    virtual int OuterWidthPixels() = 0;
    virtual int OuterHeightPixels() = 0;
    // The desktop without its panels, from the screen's corner; empty when unknown.
    virtual form::PixelRect AvailableAreaPixels() = 0;
    virtual void MoveLeft(int twips) = 0;
    virtual void MoveTop(int twips) = 0;
};

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
std::int64_t RoundHalfToEven(double value);

// How far the window rises from just below the screen: its outer height plus the taskbar's.
std::int64_t RiseDistance(double outerHeightTwips, std::int32_t taskbarHeightPixels);

// The last slide step: the largest i = 1 + 15k that is not greater than the rise (0: no step).
std::int64_t LastSlideStep(std::int64_t riseDistance);

class Form_广告 {
  public:
    Form_广告(AdWindowPort& window, EventPump& pump, UrlOpener& opener,
              std::string advertisementUrl, std::string sponsorUrl);

    // True once the window has finished loading; while true, unloading opens the sponsor site.
    bool OpenSponsorOnClose = false;

    void Form_Load();
    // The browser completed a document (the page or one of its frames): slide in again.
    void WebBrowser_广告_DocumentComplete();
    // The window is being unloaded (close box or exit). Any slide under way stops at its next
    // step, and nothing touches the window afterwards.
    void Form_Unload();

    bool Loaded() const { return loaded_; }
    std::int32_t TaskbarHeight() const { return taskbarHeight_; }

  private:
    // Puts the window's right edge on the screen's right edge.
    void MoveToRightEdge();
    void RestInsideAvailableArea(std::int64_t lastTop);

    AdWindowPort& window_;
    EventPump& pump_;
    UrlOpener& opener_;
    std::string advertisementUrl_;
    std::string sponsorUrl_;
    std::int32_t taskbarHeight_ = 0;
    bool loaded_ = false;
    // Counts unloads, so that a slide suspended in a nested event never moves a window that was
    // unloaded (and perhaps loaded again) meanwhile.
    std::uint64_t unloads_ = 0;
};

}  // namespace horalia
