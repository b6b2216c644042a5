#include "ui/extras/ad_window.h"

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
    window_.MoveLeft((window_.ScreenWidthPixels() - window_.OuterWidthPixels()) * kTwipsPerPixel);
    window_.MoveTop(window_.ScreenHeightPixels() * kTwipsPerPixel);
    OpenSponsorOnClose = true;
}

void Form_广告::WebBrowser_广告_DocumentComplete() {
    if (!loaded_) {
        return;
    }
    window_.Show();
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
