// The Win32 windows under Wine: what the user sees and can press, through the real controls.
#include "ui/extras/win32/secondary_windows.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "common/win32/ansi_text.h"
#include "fakes/fake_profile_backend.h"
#include "fakes/fake_start_store.h"
#include "fakes/fake_window_ports.h"
#include "ui/extras/urls.h"
#include "ui/keyboard_cases.h"
#include "ui/settings/settings_page.h"

namespace horalia::win32 {
namespace {

constexpr char kIni[] = "C:\\Horalia\\Value.ini";
constexpr char kCommand[] = "\"C:\\Horalia\\Horalia.exe\"";

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

class MessagePump : public EventPump {
  public:
    void ProcessPendingEvents() override { PumpFor(0); }
};

using fakes::FakeMainForm;
using RecordingOpener = fakes::FakeUrlOpener;

std::string TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return WideToUtf8(text);
}

HWND Child(HWND parent, const char* caption) {
    return FindWindowExW(parent, nullptr, nullptr, Utf8ToWide(caption).c_str());
}

bool Checked(HWND parent, const char* caption) {
    return SendMessageW(Child(parent, caption), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Click(HWND parent, const char* caption) {
    SendMessageW(Child(parent, caption), BM_CLICK, 0, 0);
}

SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

int Dpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// A key as the keyboard would deliver it: posted to the control with the focus.
void PressKey(HWND window, WPARAM key) {
    SetFocus(window);
    PostMessageW(GetFocus() != nullptr ? GetFocus() : window, WM_KEYDOWN, key, 1);
    PumpFor(100);
}

class WindowsTest : public ::testing::Test {
  protected:
    WindowsTest() { config.SpecifyIni(kIni); }

    HWND OpenSettings() {
        windows.ShowSettingsDialog(mainForm);
        PumpFor(50);
        return windows.Settings().Handle();
    }
    // The advanced page, opened as a click on the dialog's link opens it; null when it does not.
    HWND OpenAdvancedPage(HWND dialog) {
        HWND link = Child(dialog, "切换到高级设置");
        SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(link, WM_LBUTTONUP, 0, 0);
        PumpFor(20);
        return windows.Settings().Advanced().Handle();
    }

    fakes::FakeProfileBackend backend;
    读写配置 config{backend};
    fakes::FakeStartStore store;
    SettingsRecord settings;
    MessagePump pump;
    RecordingOpener opener;
    FakeMainForm mainForm;
    // Nothing listens on the discard port: a page that never completes.
    SecondaryWindows windows{SecondaryWindowsServices{GetModuleHandleW(nullptr), config, store,
                                                      kCommand, settings, pump, opener,
                                                      "http://127.0.0.1:9/ad.html"}};
};

TEST_F(WindowsTest, SettingsDialogShowsTheRecordInItsLayout) {
    settings.AnnounceFrequency = 1;
    settings.AnnounceFormat = 2;
    settings.AdMode = 1;
    settings.AutoSyncOff = 1;
    HWND dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(TextOf(dialog), "Horalia设置");
    const SIZE client = ClientSize(dialog);
    EXPECT_EQ(client.cx, MulDiv(5730, Dpi(), 1440));
    EXPECT_EQ(client.cy, MulDiv(3060, Dpi(), 1440));
    const LONG style = GetWindowLongW(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);

    for (const char* frame : {"报时频率", "报时格式", "广告设置", "扩展设置"}) {
        EXPECT_NE(Child(dialog, frame), nullptr) << frame;
    }
    EXPECT_FALSE(Checked(dialog, "整点报时"));
    EXPECT_TRUE(Checked(dialog, "两时报时"));
    EXPECT_TRUE(Checked(dialog, "播放全部"));
    EXPECT_TRUE(Checked(dialog, "一天显示一次"));
    EXPECT_FALSE(Checked(dialog, "开启显示一次"));
    EXPECT_FALSE(Checked(dialog, "关闭报时"));
    EXPECT_FALSE(Checked(dialog, "自动网络校时"));  // 自动校时=1: the synchronisation is off
    EXPECT_FALSE(IsWindowEnabled(Child(dialog, "应用[&A]")));
    EXPECT_EQ(SendMessageW(Child(dialog, "确定[&E]"), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON,
              DLGC_DEFPUSHBUTTON);
}

TEST_F(WindowsTest, SettingsClicksReachThePresenter) {
    HWND dialog = OpenSettings();
    Click(dialog, "六时报时");
    EXPECT_TRUE(Checked(dialog, "六时报时"));
    EXPECT_FALSE(Checked(dialog, "整点报时"));
    EXPECT_TRUE(IsWindowEnabled(Child(dialog, "应用[&A]")));

    Click(dialog, "开机启动");
    EXPECT_TRUE(Checked(dialog, "开机启动"));
    EXPECT_EQ(store.entry, kCommand);
    EXPECT_EQ(mainForm.startChecked, true);

    Click(dialog, "关闭报时");
    Click(dialog, "应用[&A]");
    EXPECT_EQ(backend.writes, 2);  // 报时设置 and 关闭报时, the keys that changed
    EXPECT_EQ(settings.AnnounceFrequency, 2);
    EXPECT_EQ(mainForm.announceTimer, false);
    EXPECT_FALSE(IsWindowEnabled(Child(dialog, "应用[&A]")));
    EXPECT_EQ(windows.Settings().Handle(), dialog);  // Apply keeps it open
}

TEST_F(WindowsTest, OpeningAgainBringsTheSameDialogWithItsState) {
    HWND dialog = OpenSettings();
    Click(dialog, "报年月日");
    EXPECT_EQ(OpenSettings(), dialog);
    EXPECT_TRUE(Checked(dialog, "报年月日"));
    EXPECT_TRUE(IsWindowEnabled(Child(dialog, "应用[&A]")));
}

TEST_F(WindowsTest, EscapeCancelsAndEnterApplies) {
    HWND dialog = OpenSettings();
    Click(dialog, "两时报时");
    PressKey(Child(dialog, "两时报时"), VK_ESCAPE);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(windows.Settings().Handle(), nullptr);
    EXPECT_EQ(backend.writes, 0);

    dialog = OpenSettings();
    EXPECT_TRUE(Checked(dialog, "整点报时"));  // a fresh load from the record
    Click(dialog, "两时报时");
    PressKey(Child(dialog, "两时报时"), VK_RETURN);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(backend.writes, 1);
    EXPECT_EQ(settings.AnnounceFrequency, 1);
}

TEST_F(WindowsTest, ArrowKeysSelectWithinAGroupAndTabLeavesIt) {
    HWND dialog = OpenSettings();
    PressKey(Child(dialog, "整点报时"), VK_DOWN);
    EXPECT_TRUE(Checked(dialog, "两时报时"));
    EXPECT_FALSE(Checked(dialog, "整点报时"));
    EXPECT_TRUE(IsWindowEnabled(Child(dialog, "应用[&A]")));
    EXPECT_EQ(windows.Settings().Presenter()->Value("报时设置"), "1");
    EXPECT_FALSE(Checked(dialog, "报年月日"));  // the other groups keep their selection

    PressKey(Child(dialog, "两时报时"), VK_TAB);
    EXPECT_EQ(GetFocus(), Child(dialog, "仅报时间"));
}

TEST_F(WindowsTest, CloseBoxAndExitUnloadWithoutApplying) {
    HWND dialog = OpenSettings();
    Click(dialog, "两时报时");
    SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpFor(20);
    EXPECT_FALSE(IsWindow(dialog));

    dialog = OpenSettings();
    windows.UnloadSettingsDialog();
    EXPECT_FALSE(IsWindow(dialog));
    windows.UnloadSettingsDialog();  // not open: nothing
    EXPECT_EQ(backend.writes, 0);
}

BOOL CALLBACK CollectToolTips(HWND window, LPARAM found) {
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    }
    return TRUE;
}

TEST_F(WindowsTest, CheckBoxesCarryTheirToolTips) {
    HWND dialog = OpenSettings();
    std::vector<HWND> tips;
    EnumThreadWindows(GetCurrentThreadId(), CollectToolTips, reinterpret_cast<LPARAM>(&tips));
    HWND ours = nullptr;
    for (HWND tip : tips) {
        if (GetWindow(tip, GW_OWNER) == dialog) {
            ours = tip;
        }
    }
    ASSERT_NE(ours, nullptr);
    EXPECT_EQ(SendMessageW(ours, TTM_GETTOOLCOUNT, 0, 0), 2);

    wchar_t text[256] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(Child(dialog, "开机启动"));
    tool.lpszText = text;
    SendMessageW(ours, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(WideToUtf8(text), "开机自动启动程序，不需要可以不开启，开启会被杀毒软件拦截允许即可");
}

TEST_F(WindowsTest, AdvancedLabelIsBlueWithAHandCursor) {
    HWND dialog = OpenSettings();
    HWND label = Child(dialog, "切换到高级设置");
    ASSERT_NE(label, nullptr);
    HDC dc = GetDC(label);
    SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    ReleaseDC(label, dc);
    SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(label),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
}

// The link opens the advanced page over the dialog, which takes no input until the page closes.
TEST_F(WindowsTest, AdvancedPageOpensFromTheLinkAndApplies) {
    settings.Volume = 60;
    HWND dialog = OpenSettings();
    HWND page = OpenAdvancedPage(dialog);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(TextOf(page), "高级设置");
    EXPECT_EQ(GetWindow(page, GW_OWNER), dialog);
    EXPECT_FALSE(IsWindowEnabled(dialog));
    HWND slider = FindWindowExW(page, nullptr, TRACKBAR_CLASSW, nullptr);
    EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 60);
    EXPECT_NE(Child(page, "60%"), nullptr);
    // Edit boxes keep their text to themselves: found by id.
    HWND start = GetDlgItem(page, SettingControlId("免打扰", kPeriodsPart));
    EXPECT_EQ(TextOf(start), "22:00-07:00");
    EXPECT_FALSE(IsWindowEnabled(start));  // quiet hours off
    EXPECT_FALSE(IsWindowEnabled(Child(page, "应用[&A]")));

    Click(page, "免打扰时段");
    EXPECT_TRUE(IsWindowEnabled(start));
    SetWindowTextW(start, L"22:00-6:45，12:00-13:00");  // typed: EN_CHANGE
    Click(page, "15");
    EXPECT_FALSE(IsWindowEnabled(Child(page, "半点")));  // replaced by the interval
    SendMessageW(slider, TBM_SETPOS, TRUE, 25);          // dragged: WM_HSCROLL
    SendMessageW(page, WM_HSCROLL, SB_THUMBPOSITION, reinterpret_cast<LPARAM>(slider));
    EXPECT_NE(Child(page, "25%"), nullptr);
    EXPECT_TRUE(IsWindowEnabled(Child(page, "应用[&A]")));
    Click(page, "确定[&E]");
    EXPECT_FALSE(IsWindow(page));
    EXPECT_TRUE(IsWindowEnabled(dialog));
    EXPECT_EQ(backend.writes, 3);  // 免打扰, 报时间隔 and 音量
    EXPECT_EQ((backend.values[{kIni, "Horalia", "免打扰"}]), "22:00-06:45,12:00-13:00");
    EXPECT_EQ((backend.values[{kIni, "Horalia", "报时间隔"}]), "15");
    EXPECT_FALSE(IsWindowEnabled(Child(dialog, "整点报时")));  // the hours, replaced
    EXPECT_EQ(settings.Volume, 25);

    // The program's exit closes an open page with the dialog, unapplied.
    page = OpenAdvancedPage(dialog);
    ASSERT_NE(page, nullptr);
    Click(page, "自然读法");
    windows.UnloadSettingsDialog();
    EXPECT_FALSE(IsWindow(page));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(backend.writes, 3);
}

// A move to a screen of another scale, as Windows announces it: the window's client size and
// the width of one of its controls afterwards.
std::pair<SIZE, LONG> LayoutAfterDpiChange(HWND window, HWND control, int dpi) {
    RECT suggested{};
    GetWindowRect(window, &suggested);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT r{};
    GetWindowRect(control, &r);
    return {ClientSize(window), r.right - r.left};
}

TEST_F(WindowsTest, BothPagesLayThemselvesOutAgainAtAnotherScale) {
    HWND dialog = OpenSettings();
    HWND page = OpenAdvancedPage(dialog);
    ASSERT_NE(page, nullptr);
    const struct {
        HWND window;
        HWND control;
    } pages[] = {{dialog, Child(dialog, "确定[&E]")},
                 {page, FindWindowExW(page, nullptr, TRACKBAR_CLASSW, nullptr)}};
    for (const auto& p : pages) {
        ASSERT_NE(p.control, nullptr);
        const SIZE designed = ClientSize(p.window);
        const LONG width = LayoutAfterDpiChange(p.window, p.control, Dpi()).second;
        for (const int dpi : {144, 192, Dpi()}) {
            const auto [client, controlWidth] = LayoutAfterDpiChange(p.window, p.control, dpi);
            EXPECT_EQ(client.cx, MulDiv(designed.cx, dpi, Dpi())) << dpi;
            EXPECT_NEAR(client.cy, MulDiv(designed.cy, dpi, Dpi()), 1) << dpi;
            EXPECT_NEAR(controlWidth, MulDiv(width, dpi, Dpi()), 1) << dpi;
        }
    }
    windows.UnloadSettingsDialog();
}

// A key pressed and let go on the control with the focus; Shift is held for kBackTab.
void Type(Key key) {
    static const std::map<Key, WPARAM> codes{{Key::kTab, VK_TAB},
                                             {Key::kBackTab, VK_TAB},
                                             {Key::kSpace, VK_SPACE},
                                             {Key::kReturn, VK_RETURN},
                                             {Key::kEscape, VK_ESCAPE}};
    BYTE state[256] = {};
    state[VK_SHIFT] = key == Key::kBackTab ? 0x80 : 0;
    SetKeyboardState(state);
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, codes.at(key), 1);
    PostMessageW(focus, WM_KEYUP, codes.at(key), 1 | (3u << 30));
    PumpFor(60);
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

// The keyboard alone on both pages (keyboard_cases.h).
TEST_F(WindowsTest, KeyboardReachesTheLinkAndKeepsWorkingAfterApply) {
    for (const KeyboardCase& c : KeyboardCases()) {
        const std::string row = std::string(c.advanced ? "advanced: " : "settings: ") +
                                std::to_string(c.focus) + " after " +
                                std::to_string(c.keys.size()) + " keys";
        HWND dialog = OpenSettings();
        HWND page = dialog;
        if (c.advanced) {
            page = OpenAdvancedPage(dialog);
            ASSERT_NE(page, nullptr) << row;
        }
        if (c.change != 0) {
            SendMessageW(GetDlgItem(page, c.change), BM_CLICK, 0, 0);
        }
        SendMessageW(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(page, c.focus)),
                     TRUE);
        for (const Key key : c.keys) {
            Type(key);
        }
        if (c.focusAfter != 0) {
            EXPECT_EQ(GetFocus(), GetDlgItem(page, c.focusAfter))
                << row << ": " << TextOf(GetFocus());
        }
        HWND advanced = windows.Settings().Advanced().Handle();
        EXPECT_EQ(advanced != nullptr && !c.advanced, c.outcome == KeyboardCase::kPageOpens) << row;
        EXPECT_EQ(IsWindow(page) == FALSE, c.outcome == KeyboardCase::kCloses) << row;
        windows.UnloadSettingsDialog();
    }
}

// Windows (MSAA) names a control without a text of its own after the label just before it among
// its siblings; Wine's oleacc does not, so the order itself is what is checked here.
TEST_F(WindowsTest, ControlsWithoutTextFollowTheirLabels) {
    HWND page = OpenAdvancedPage(OpenSettings());
    ASSERT_NE(page, nullptr);
    for (const char* key : {"报时热键", "音量", "语音目录"}) {
        HWND control = GetDlgItem(page, SettingControlId(key));
        HWND before = GetWindow(control, GW_HWNDPREV);
        wchar_t kind[32] = {};
        GetClassNameW(before, kind, 32);
        EXPECT_EQ(WideToUtf8(kind), "Static") << key;
        EXPECT_EQ(TextOf(before), key);
    }
}

// The about box is modal: a timer inspects and closes it from inside its own message loop.
struct AboutProbe {
    WPARAM closingKey = VK_ESCAPE;
    std::string caption, title, version, disclaimer;
    SIZE client{}, clientAt192{};
    bool hasLink = false;
    std::vector<std::string> openedAfterRight, openedAfterBoth;
    RecordingOpener* opener = nullptr;
    bool closedByKey = false;
};
AboutProbe* g_probe = nullptr;

void CALLBACK ForceClose(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (HWND box = GetActiveWindow()) {
        EndDialog(box, IDABORT);
    }
}

void CALLBACK InspectAbout(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    AboutProbe& p = *g_probe;
    HWND box = FindWindowW(nullptr, Utf8ToWide("关于 Horalia").c_str());
    if (box == nullptr) {
        return;  // the forced close ends the test
    }
    p.caption = TextOf(box);
    p.client = ClientSize(box);
    HWND ok = Child(box, "确定");
    p.clientAt192 = LayoutAfterDpiChange(box, ok, 192).first;
    LayoutAfterDpiChange(box, ok, Dpi());
    p.title = TextOf(Child(box, "Horalia"));
    p.version = TextOf(Child(box, "版本 3.0.0.0"));
    p.disclaimer = TextOf(Child(box, "官方网站："));
    HWND link = Child(box, kVendorSiteUrl);
    p.hasLink = link != nullptr;
    SendMessageW(link, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    SendMessageW(link, WM_RBUTTONUP, 0, 0);
    p.openedAfterRight = p.opener->opened;
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 0);
    p.openedAfterBoth = p.opener->opened;
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(link, WM_LBUTTONUP, 0, 0);
    HWND focus = GetFocus() != nullptr ? GetFocus() : box;
    PostMessageW(focus, WM_KEYDOWN, p.closingKey, 1);
    p.closedByKey = true;
}

TEST_F(WindowsTest, AboutBoxShowsItsTextsOpensTheLinkAndClosesByEitherKey) {
    for (WPARAM key : {WPARAM{VK_ESCAPE}, WPARAM{VK_RETURN}}) {
        opener.opened.clear();
        AboutProbe probe;
        probe.closingKey = key;
        probe.opener = &opener;
        g_probe = &probe;
        SetTimer(nullptr, 0, 300, InspectAbout);
        const UINT_PTR guard = SetTimer(nullptr, 0, 10000, ForceClose);
        windows.ShowAboutBox();  // returns when the box is closed
        KillTimer(nullptr, guard);
        g_probe = nullptr;

        EXPECT_TRUE(probe.closedByKey);
        EXPECT_EQ(windows.About().Handle(), nullptr);
        EXPECT_EQ(probe.caption, "关于 Horalia");
        EXPECT_EQ(probe.title, "Horalia");
        EXPECT_EQ(probe.version, "版本 3.0.0.0");
        EXPECT_EQ(probe.disclaimer, "官方网站：");
        EXPECT_EQ(probe.client.cx, MulDiv(5730, Dpi(), 1440));
        EXPECT_EQ(probe.client.cy, MulDiv(3090, Dpi(), 1440));
        EXPECT_EQ(probe.clientAt192.cx, MulDiv(5730, 192, 1440));
        EXPECT_EQ(probe.clientAt192.cy, MulDiv(3090, 192, 1440));
        EXPECT_TRUE(probe.hasLink);
        EXPECT_TRUE(probe.openedAfterRight.empty());
        EXPECT_TRUE(probe.openedAfterBoth.empty());
        EXPECT_EQ(opener.opened, (std::vector<std::string>{kVendorSiteUrl}));
    }
}

TEST_F(WindowsTest, AdvertisementStaysHiddenBelowTheScreenUntilAPageCompletes) {
    windows.LoadAdvertisement();
    HWND ad = windows.Advertisement().Handle();
    ASSERT_NE(ad, nullptr);
    PumpFor(1500);
    // Wine here has no HTML engine: its browser control is created but completes no document.
    // With the control itself switched off (ui_win32_no_browser) none is created at all.
    if (std::getenv("HORALIA_EXPECT_NO_BROWSER") != nullptr) {
        EXPECT_FALSE(windows.Advertisement().HasBrowser());
    }
    EXPECT_FALSE(IsWindowVisible(ad));
    RECT r{};
    GetWindowRect(ad, &r);
    EXPECT_EQ(r.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(TextOf(ad), "为您推荐");
    EXPECT_EQ(GetWindow(ad, GW_OWNER) != nullptr, true);  // no taskbar button

    windows.LoadAdvertisement();  // loaded already: the same window
    EXPECT_EQ(windows.Advertisement().Handle(), ad);
    windows.UnloadAdvertisementQuietly();
    EXPECT_FALSE(IsWindow(ad));
    EXPECT_TRUE(opener.opened.empty());
    windows.UnloadAdvertisementQuietly();  // not loaded: nothing
}

TEST_F(WindowsTest, ClosingTheAdvertisementOpensTheSponsorSite) {
    windows.LoadAdvertisement();
    HWND ad = windows.Advertisement().Handle();
    PumpFor(200);
    SendMessageW(ad, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpFor(20);
    EXPECT_FALSE(IsWindow(ad));
    EXPECT_EQ(opener.opened, (std::vector<std::string>{kSponsorUrl}));
}

}  // namespace
}  // namespace horalia::win32
