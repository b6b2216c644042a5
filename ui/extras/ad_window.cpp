#include "ui/extras/ad_window.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace horalia {

std::int64_t RoundHalfToEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    auto result = static_cast<std::int64_t>(floor);
    if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) {
        ++result;
    }
    return result;
}

std::int64_t RiseDistance(double outerHeightTwips, std::int32_t taskbarHeightPixels) {
    return RoundHalfToEven(outerHeightTwips +
                           static_cast<double>(taskbarHeightPixels) * kTwipsPerPixel);
}

std::int64_t LastSlideStep(std::int64_t riseDistance) {
    if (riseDistance < 1) {
        return 0;
    }
    return 1 + (riseDistance - 1) / kSlideStepTwips * kSlideStepTwips;
}

const form::Form& AdForm() {
    static const form::Control browser = [] {
        form::Control control;
        control.kind = form::Kind::Browser;
        control.name = "WebBrowser_广告";
        control.rect = {30, 0, 4500, 3000};
        control.id = kAdBrowserId;
        return control;
    }();
    static const form::Form table{"为您推荐", 4500, 3000, 9, std::span(&browser, 1)};
    return table;
}

int TwipsToScreenPixels(int twips) {
    return static_cast<int>(std::floor(twips / static_cast<double>(kTwipsPerPixel)));
}

PixelPoint KeepInside(PixelPoint corner, int outerWidth, int outerHeight,
                      const form::PixelRect& available) {
    const auto into = [](int at, int size, int start, int length) {
        return std::max(start, std::min(at, start + length - size));
    };
    return {into(corner.x, outerWidth, available.left, available.width),
            into(corner.y, outerHeight, available.top, available.height)};
}

Form_广告::Form_广告(AdWindowPort& window, EventPump& pump, UrlOpener& opener,
                     std::string advertisementUrl, std::string sponsorUrl)
    : window_(window),
      pump_(pump),
      opener_(opener),
      advertisementUrl_(std::move(advertisementUrl)),
      sponsorUrl_(std::move(sponsorUrl)) {}

void Form_广告::Form_Load() {
    loaded_ = true;
    // Without a browser no document ever completes, so the window simply stays out of sight. An
    // empty address has nothing to fetch: no browser is made, nothing is requested.
    if (!advertisementUrl_.empty() && window_.CreateBrowser()) {
        window_.Navigate(advertisementUrl_);
    }
    window_.Hide();
    taskbarHeight_ = window_.TaskbarHeightPixels();
    MoveToRightEdge();
    window_.MoveTop(window_.ScreenHeightPixels() * kTwipsPerPixel);
    OpenSponsorOnClose = true;
}

void Form_广告::WebBrowser_广告_DocumentComplete() {
    if (!loaded_) {
        return;
    }
    window_.Show();
    // A toolkit may learn the window's frame only now that it shows: the right edge goes back to
    // the screen's.
    MoveToRightEdge();
    const std::int64_t rise =
        RiseDistance(window_.OuterHeightPixels() * kTwipsPerPixel, taskbarHeight_);
    const std::int64_t screenHeight = window_.ScreenHeightPixels() * kTwipsPerPixel;
    const std::uint64_t unloadsAtStart = unloads_;
    for (std::int64_t i = 1; i <= rise; i += kSlideStepTwips) {
        pump_.ProcessPendingEvents();
        // The events just processed may have closed the window.
        if (unloads_ != unloadsAtStart) {
            return;
        }
        window_.MoveTop(static_cast<int>(screenHeight - i));
    }
    if (LastSlideStep(rise) > 0) {
        RestInsideAvailableArea(screenHeight - LastSlideStep(rise));
    }
}

void Form_广告::MoveToRightEdge() {
    window_.MoveLeft((window_.ScreenWidthPixels() - window_.OuterWidthPixels()) * kTwipsPerPixel);
}

// A panel at the side or top, or one taller than the window believed, would otherwise cover a
// corner of the window or leave its bottom below the screen.
void Form_广告::RestInsideAvailableArea(std::int64_t lastTop) {
    const form::PixelRect area = window_.AvailableAreaPixels();
    if (area.width <= 0 || area.height <= 0) {
        return;
    }
    const int width = window_.OuterWidthPixels();
    const PixelPoint now{window_.ScreenWidthPixels() - width,
                         TwipsToScreenPixels(static_cast<int>(lastTop))};
    const PixelPoint inside = KeepInside(now, width, window_.OuterHeightPixels(), area);
    if (inside.x != now.x) {
        window_.MoveLeft(inside.x * kTwipsPerPixel);
    }
    if (inside.y != now.y) {
        window_.MoveTop(inside.y * kTwipsPerPixel);
    }
}

void Form_广告::Form_Unload() {
    if (!loaded_) {
        return;
    }
    loaded_ = false;
    ++unloads_;
    if (OpenSponsorOnClose && !sponsorUrl_.empty()) {
        opener_.Open(sponsorUrl_);
    }
}

}  // namespace horalia
