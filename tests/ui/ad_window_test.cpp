#include "ui/extras/ad_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace horalia {
namespace {

constexpr char kAdUrl[] = "http://www.example.com/softs/tolvex/ad.html";
constexpr char kSponsor[] = "http://www.example.org/?ref=x";

// A 1280 x 800 screen; the window is 300 x 228 pixels outside (3420 twips high).
class FakeAdWindow : public AdWindowPort {
  public:
    bool CreateBrowser() override {
        log.push_back("browser");
        return browserAvailable;
    }
    void Navigate(const std::string& url) override { log.push_back("navigate " + url); }
    void Hide() override {
        visible = false;
        log.push_back("hide");
    }
    void Show() override {
        visible = true;
        outerWidth = shownOuterWidth;
        log.push_back("show");
    }
    std::int32_t TaskbarHeightPixels() override { return taskbar; }
    int ScreenWidthPixels() override { return 1280; }
    int ScreenHeightPixels() override { return 800; }
    int OuterWidthPixels() override { return outerWidth; }
    int OuterHeightPixels() override { return outerHeight; }
    form::PixelRect AvailableAreaPixels() override { return available; }
    void MoveLeft(int twips) override { left = twips; }
    void MoveTop(int twips) override {
        top = twips;
        tops.push_back(twips);
        log.push_back("top");
    }

    bool browserAvailable = true;
    std::int32_t taskbar = 40;
    int outerWidth = 306;
    int shownOuterWidth = 306;  // a frame the window gets only when shown
    int outerHeight = 228;
    form::PixelRect available{0, 0, 1280, 760};
    bool visible = false;
    int left = -1;
    int top = -1;
    std::vector<int> tops;
    std::vector<std::string> log;
};

class FakePump : public EventPump {
  public:
    explicit FakePump(std::vector<std::string>& log) : log_(log) {}
    void ProcessPendingEvents() override {
        log_.push_back("pump");
        ++calls;
        if (onPump) {
            onPump(calls);
        }
    }
    int calls = 0;
    std::function<void(int)> onPump;

  private:
    std::vector<std::string>& log_;
};

class FakeOpener : public UrlOpener {
  public:
    void Open(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

class AdWindowTest : public ::testing::Test {
  protected:
    FakeAdWindow window;
    FakePump pump{window.log};
    FakeOpener opener;
    Form_广告 form{window, pump, opener, kAdUrl, kSponsor};
};

TEST(AdWindowMath, RoundHalfToEven) {
    const std::pair<double, std::int64_t> cases[] = {
        {0.0, 0},       {0.5, 0},       {1.5, 2},       {2.5, 2},   {2.4999, 2},
        {2.5001, 3},    {-0.5, 0},      {-1.5, -2},     {-2.5, -2}, {-2.6, -3},
        {4020.0, 4020}, {3419.5, 3420}, {3420.5, 3420},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(RoundHalfToEven(value), expected) << value;
    }
}

TEST(AdWindowMath, RiseAndLastStep) {
    struct Case {
        double outer;
        std::int32_t taskbar;
        std::int64_t rise, last;
    };
    const Case cases[] = {
        {3420, 40, 4020, 4006},   // the taskbar 40 px high
        {3420, 0, 3420, 3406},    // no taskbar found
        {3420.5, 0, 3420, 3406},  // half to even
        {3421.5, 0, 3422, 3421}, {16, 0, 16, 16}, {15, 0, 15, 1}, {1, 0, 1, 1}, {0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RiseDistance(c.outer, c.taskbar), c.rise) << c.outer;
        EXPECT_EQ(LastSlideStep(c.rise), c.last) << c.outer;
    }
}

TEST_F(AdWindowTest, LoadNavigatesHidesAndPlacesTheWindowJustBelowTheScreen) {
    form.Form_Load();
    EXPECT_EQ(window.log, (std::vector<std::string>{"browser", std::string("navigate ") + kAdUrl,
                                                    "hide", "top"}));
    EXPECT_FALSE(window.visible);
    EXPECT_EQ(form.TaskbarHeight(), 40);
    EXPECT_EQ(window.left, (1280 - 306) * 15);
    EXPECT_EQ(window.top, 800 * 15);
    EXPECT_TRUE(form.OpenSponsorOnClose);
}

TEST_F(AdWindowTest, SlidePumpsBeforeEveryStepAndRestsOnTheTaskbar) {
    form.Form_Load();
    window.log.clear();
    window.tops.clear();
    form.WebBrowser_广告_DocumentComplete();

    ASSERT_EQ(window.tops.size(), 268u);  // i = 1, 16, ... 4006
    for (std::size_t k = 0; k < window.tops.size(); ++k) {
        ASSERT_EQ(window.tops[k], 12000 - static_cast<int>(1 + 15 * k));
    }
    EXPECT_EQ(window.top, 12000 - 4006);
    // Its bottom edge lies 14 twips below the taskbar's top edge.
    EXPECT_EQ(window.top + 228 * 15 - (12000 - 40 * 15), 14);
    EXPECT_TRUE(window.visible);
    ASSERT_EQ(window.log.size(), 1u + 2 * 268);
    EXPECT_EQ(window.log[0], "show");
    for (std::size_t k = 1; k < window.log.size(); k += 2) {
        ASSERT_EQ(window.log[k], "pump");
        ASSERT_EQ(window.log[k + 1], "top");
    }
}

TEST_F(AdWindowTest, EveryCompletedDocumentSlidesAgain) {
    form.Form_Load();
    window.tops.clear();
    for (int document = 0; document < 3; ++document) {
        form.WebBrowser_广告_DocumentComplete();
    }
    EXPECT_EQ(window.tops.size(), 3u * 268);
    EXPECT_EQ(window.tops[268], 12000 - 1);  // each slide starts from just below the screen
    EXPECT_EQ(window.top, 12000 - 4006);
}

TEST_F(AdWindowTest, DocumentDuringASlideRunsAWholeSlideThenTheFirstGoesOn) {
    form.Form_Load();
    window.tops.clear();
    pump.onPump = [this](int call) {
        if (call == 10) {
            form.WebBrowser_广告_DocumentComplete();
        }
    };
    form.WebBrowser_广告_DocumentComplete();
    ASSERT_EQ(window.tops.size(), 2u * 268);
    EXPECT_EQ(window.tops[8], 12000 - (1 + 15 * 8));        // the outer slide, before the nesting
    EXPECT_EQ(window.tops[9], 12000 - 1);                   // the nested slide's first step
    EXPECT_EQ(window.tops[9 + 268], 12000 - (1 + 15 * 9));  // the outer slide resumes
    EXPECT_EQ(window.top, 12000 - 4006);
}

TEST_F(AdWindowTest, ClosingDuringASlideStopsItWithoutTouchingTheWindow) {
    form.Form_Load();
    window.tops.clear();
    pump.onPump = [this](int call) {
        if (call == 5) {
            form.Form_Unload();
        }
    };
    form.WebBrowser_广告_DocumentComplete();
    EXPECT_EQ(window.tops.size(), 4u);
    EXPECT_EQ(opener.opened, (std::vector<std::string>{kSponsor}));
    EXPECT_FALSE(form.Loaded());
}

TEST_F(AdWindowTest, ClosingDuringANestedSlideStopsBoth) {
    form.Form_Load();
    window.tops.clear();
    pump.onPump = [this](int call) {
        if (call == 3) {
            form.WebBrowser_广告_DocumentComplete();
        } else if (call == 7) {
            form.Form_Unload();
        }
    };
    form.WebBrowser_广告_DocumentComplete();
    EXPECT_EQ(window.tops.size(), 2u + 3u);
    EXPECT_EQ(pump.calls, 7);
}

TEST_F(AdWindowTest, CloseBoxOpensTheSponsorSiteOnce) {
    form.Form_Load();
    form.WebBrowser_广告_DocumentComplete();
    form.Form_Unload();
    form.Form_Unload();  // already unloaded: nothing more
    EXPECT_EQ(opener.opened, (std::vector<std::string>{kSponsor}));
}

TEST_F(AdWindowTest, ExitPathClearsTheFlagAndOpensNothing) {
    form.Form_Load();
    form.OpenSponsorOnClose = false;
    form.Form_Unload();
    EXPECT_TRUE(opener.opened.empty());
}

TEST_F(AdWindowTest, UnloadOfAWindowNeverLoadedDoesNothing) {
    form.OpenSponsorOnClose = true;
    form.Form_Unload();
    EXPECT_TRUE(opener.opened.empty());
    form.WebBrowser_广告_DocumentComplete();  // a stray event after unload
    EXPECT_TRUE(window.tops.empty());
    EXPECT_FALSE(window.visible);
}

TEST_F(AdWindowTest, WithoutABrowserTheWindowStaysHiddenAndNothingIsRequested) {
    window.browserAvailable = false;
    form.Form_Load();
    EXPECT_EQ(window.log, (std::vector<std::string>{"browser", "hide", "top"}));
    EXPECT_FALSE(window.visible);
    form.OpenSponsorOnClose = false;
    form.Form_Unload();
    EXPECT_TRUE(opener.opened.empty());
}

TEST_F(AdWindowTest, AnEmptyAddressMakesNoBrowserAndAnEmptySponsorOpensNothing) {
    Form_广告 empty{window, pump, opener, "", ""};
    empty.Form_Load();
    EXPECT_EQ(window.log, (std::vector<std::string>{"hide", "top"}));
    EXPECT_TRUE(empty.OpenSponsorOnClose);
    empty.Form_Unload();
    EXPECT_TRUE(opener.opened.empty());
}

TEST_F(AdWindowTest, WithoutATaskbarTheWindowRisesByItsOwnHeight) {
    window.taskbar = 0;
    window.available = {0, 0, 1280, 800};
    form.Form_Load();
    form.WebBrowser_广告_DocumentComplete();
    EXPECT_EQ(window.top, 12000 - 3406);
    EXPECT_EQ(window.top + 3420 - 12000, 14);  // at most 14 twips below the screen's edge
}

// A panel the taskbar height did not tell of (at the side, or none found) still never covers the
// window: the slide ends with the window moved inside the available area.
TEST_F(AdWindowTest, SlideEndsInsideTheAvailableArea) {
    struct Case {
        std::int32_t taskbar;
        form::PixelRect available;
        int left, top;  // twips
    };
    const Case cases[] = {
        {0, {0, 0, 1280, 760}, (1280 - 306) * 15, (760 - 228) * 15},  // no Shell_TrayWnd
        {40, {0, 0, 1200, 760}, (1200 - 306) * 15, 12000 - 4006},     // and one on the right
        {40, {0, 0, 0, 0}, (1280 - 306) * 15, 12000 - 4006},          // area unknown
    };
    for (const Case& c : cases) {
        FakeAdWindow w;
        w.taskbar = c.taskbar;
        w.available = c.available;
        FakePump p{w.log};
        Form_广告 f(w, p, opener, "http://ad/", "http://sponsor/");
        f.Form_Load();
        f.WebBrowser_广告_DocumentComplete();
        EXPECT_EQ(w.left, c.left) << c.available.width;
        EXPECT_EQ(w.top, c.top) << c.taskbar;
    }
    EXPECT_EQ(KeepInside({-5, 900}, 300, 200, {10, 20, 800, 600}), (PixelPoint{10, 420}));
}

// Loaded and shown at the screen's right edge, with the frame the window has at each moment.
TEST_F(AdWindowTest, ShownWithItsRightEdgeOnTheScreens) {
    const std::pair<int, int> widthsHiddenAndShown[] = {{306, 306}, {300, 306}, {306, 300}};
    for (const auto& [hidden, shown] : widthsHiddenAndShown) {
        window.outerWidth = hidden;
        window.shownOuterWidth = shown;
        form.Form_Load();
        EXPECT_EQ(window.left, (1280 - hidden) * 15) << hidden;
        form.WebBrowser_广告_DocumentComplete();
        EXPECT_EQ(window.left, (1280 - shown) * 15) << shown;
        form.Form_Unload();
    }
}

}  // namespace
}  // namespace horalia
