// The pieces of the Windows shell that do not need a running program: the popup menu, the
// mapping of tray and menu messages, the desktop's quiet, the message pump, the current folder
// and the hook loader.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tray_menu.h"
#include "app/win32/desktop_quiet.h"
#include "app/win32/message_pump.h"
#include "app/win32/shell_process.h"
#include "app/win32/tray_events.h"
#include "common/win32/ansi_text.h"
#include "ui/extras/win32/hook_loader.h"

namespace horalia::win32 {
namespace {

struct MenuItemState {
    UINT type;
    UINT state;
    UINT id;
    std::wstring text;
};

MenuItemState ReadItem(HMENU menu, UINT position) {
    wchar_t text[64] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 64;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return {info.fType, info.fState, info.wID, text};
}

TEST(CreateTrayMenu, ElevenEntriesInOrderWithCaptionsIdsAndStates) {
    HMENU menu = CreateTrayMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 11);
    for (UINT position = 0; position < 11; ++position) {
        const TrayMenuItem& expected = kTrayMenu[position];
        const MenuItemState item = ReadItem(menu, position);
        SCOPED_TRACE(expected.caption);
        EXPECT_EQ(item.id, position + 1);
        EXPECT_EQ((item.type & MFT_SEPARATOR) != 0, expected.separator);
        if (!expected.separator) {
            EXPECT_EQ(item.text, Utf8ToWide(expected.caption));
            EXPECT_EQ((item.state & MFS_GRAYED) != 0, !expected.selectable);
            EXPECT_EQ(item.state & MFS_CHECKED, 0u);
        }
    }
    DestroyMenu(menu);
}

TEST(CreateTrayMenu, GreyedEntryKeepsItsCheckMark) {
    HMENU menu = CreateTrayMenu();
    const UINT id = static_cast<UINT>(MenuCommandId(TrayMenuEntry::托盘图标_关闭报时));
    CheckMenuItem(menu, id, MF_BYCOMMAND | MF_CHECKED);
    const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    EXPECT_NE(state & MF_CHECKED, 0u);
    EXPECT_NE(state & MF_GRAYED, 0u);
    DestroyMenu(menu);
}

TEST(MenuEntryOfCommand, OnlyTheMenusOwnIdsAreEntries) {
    struct Case {
        WPARAM wParam;
        std::optional<TrayMenuEntry> entry;
    };
    const std::vector<Case> cases = {
        {MAKEWPARAM(1, 0), TrayMenuEntry::托盘图标_关闭报时},
        {MAKEWPARAM(4, 0), TrayMenuEntry::托盘图标_网络校时},
        {MAKEWPARAM(11, 0), TrayMenuEntry::托盘图标_退出程序},
        {MAKEWPARAM(0, 0), std::nullopt},
        {MAKEWPARAM(12, 0), std::nullopt},
        {MAKEWPARAM(0xFFFF, 0), std::nullopt},
        {MAKEWPARAM(11, 1), std::nullopt},  // an accelerator
        {MAKEWPARAM(11, BN_CLICKED + 5), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wParam);
        EXPECT_EQ(MenuEntryOfCommand(c.wParam), c.entry);
    }
}

TEST(TrayButtonOf, LeftUpIsOneAndTheContextMenuIsTwo) {
    struct Case {
        LPARAM lParam;
        bool versionFour;
        std::optional<std::int16_t> button;
    };
    const std::vector<Case> cases = {
        // Version 4: the event in the low word, the icon id in the high word.
        {MAKELPARAM(WM_LBUTTONUP, 1), true, 1},
        {MAKELPARAM(WM_CONTEXTMENU, 1), true, 2},
        {MAKELPARAM(WM_RBUTTONUP, 1), true, std::nullopt},  // its WM_CONTEXTMENU follows
        {MAKELPARAM(WM_LBUTTONDOWN, 1), true, std::nullopt},
        {MAKELPARAM(WM_MBUTTONUP, 1), true, std::nullopt},
        {MAKELPARAM(WM_MOUSEMOVE, 1), true, std::nullopt},
        {MAKELPARAM(NIN_SELECT, 1), true, std::nullopt},
        // The classic callback: the event is the whole lParam.
        {WM_LBUTTONUP, false, 1},
        {WM_RBUTTONUP, false, 2},
        {WM_CONTEXTMENU, false, std::nullopt},
        {WM_LBUTTONDBLCLK, false, std::nullopt},
        {MAKELPARAM(WM_LBUTTONUP, 1), false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.lParam << " v4=" << c.versionFour);
        EXPECT_EQ(TrayButtonOf(c.lParam, c.versionFour), c.button);
    }
}

TEST(FitToolTip, CutsToTheBufferWithoutSplittingASurrogatePair) {
    struct Case {
        std::wstring text;
        std::wstring fitted;
    };
    const std::wstring clock = L"\U0001F552";  // one character, two UTF-16 units
    const std::vector<Case> cases = {
        {L"", L""},
        {L"abc", L"abc"},
        {L"abcd", L"abc"},       // room for three and the NUL
        {L"ab" + clock, L"ab"},  // the pair would not fit whole
        {L"a" + clock, L"a" + clock},
        {L"a" + clock + L"b", L"a" + clock},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitToolTip(c.text, 4), c.fitted);
    }
}

// Wine's SHQueryUserNotificationState answers QUNS_ACCEPTS_NOTIFICATIONS whatever the desktop
// does, so the shell's other answers come from a stand-in.
QUERY_USER_NOTIFICATION_STATE g_shellState;
HRESULT g_shellResult;
HRESULT WINAPI ShellAnswer(QUERY_USER_NOTIFICATION_STATE* state) {
    *state = g_shellState;
    return g_shellResult;
}

TEST(NotificationStateQuiet, FullScreenPresentationAndQuietTimeAskForQuiet) {
    struct Case {
        QUERY_USER_NOTIFICATION_STATE state;
        HRESULT result;
        bool quiet;
    };
    const std::vector<Case> cases = {
        {QUNS_BUSY, S_OK, true},
        {QUNS_RUNNING_D3D_FULL_SCREEN, S_OK, true},
        {QUNS_PRESENTATION_MODE, S_OK, true},
        {QUNS_QUIET_TIME, S_OK, true},
        {QUNS_ACCEPTS_NOTIFICATIONS, S_OK, false},
        {QUNS_NOT_PRESENT, S_OK, false},
        {static_cast<QUERY_USER_NOTIFICATION_STATE>(7), S_OK, false},  // QUNS_APP, Windows 8
        {QUNS_BUSY, E_FAIL, false},
    };
    NotificationStateQuiet quiet(&ShellAnswer);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.state << " " << std::hex << c.result);
        g_shellState = c.state;
        g_shellResult = c.result;
        EXPECT_EQ(quiet.AsksForQuiet(), c.quiet);
    }
}

TEST(CurrentDirectoryArgument, ABareDriveBecomesItsRoot) {
    EXPECT_EQ(CurrentDirectoryArgument("D:"), L"D:\\");
    EXPECT_EQ(CurrentDirectoryArgument("D:\\Tools\\Horalia"), L"D:\\Tools\\Horalia");
    EXPECT_EQ(CurrentDirectoryArgument("\\\\server\\share"), L"\\\\server\\share");
    EXPECT_EQ(CurrentDirectoryArgument("C:\\报时"), L"C:\\\u62a5\u65f6");
}

TEST(ShellProcess, SetCurrentFolderMovesToTheFolderAndItsDrive) {
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = temp;
    folder.pop_back();  // no trailing separator, as the application folder is given

    ShellProcess process;
    SetCurrentDirectoryW(L"Z:\\");
    process.SetCurrentFolder(WideToUtf8(folder));
    wchar_t now[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, now);
    EXPECT_EQ(std::wstring(now), folder);

    process.SetCurrentFolder("C:");
    GetCurrentDirectoryW(MAX_PATH, now);
    EXPECT_EQ(std::wstring(now), L"C:\\");
    SetCurrentDirectoryW(before);
}

TEST(ShellProcess, MarkerWindowIsFoundByItsTitleAlone) {
    const char title[] = "Horalia shell test marker \xe6\x8a\xa5\xe6\x97\xb6";  // ...报时
    ShellProcess process;
    EXPECT_FALSE(process.MarkerWindowExists(title));
    HWND window = CreateWindowExW(0, L"STATIC", Utf8ToWide(title).c_str(), WS_OVERLAPPED, 0, 0, 10,
                                  10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(process.MarkerWindowExists(title));  // hidden, any class
    DestroyWindow(window);
    EXPECT_FALSE(process.MarkerWindowExists(title));
}

// A window whose messages the pump tests count.
class CountingWindow {
  public:
    CountingWindow() {
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                  nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
    }
    ~CountingWindow() { DestroyWindow(window_); }
    HWND Handle() const { return window_; }

    std::vector<WPARAM> received;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<CountingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_APP) {
            self->received.push_back(wParam);
            return 0;
        }
        return CallWindowProcW(self->previous_, window, message, wParam, lParam);
    }

    HWND window_;
    WNDPROC previous_;
};

TEST(MessagePump, DispatchesEveryPendingMessageAndReturns) {
    CountingWindow window;
    for (WPARAM i = 1; i <= 3; ++i) {
        PostMessageW(window.Handle(), WM_APP, i, 0);
    }
    MessagePump pump;
    pump.ProcessPendingEvents();
    EXPECT_EQ(window.received, (std::vector<WPARAM>{1, 2, 3}));
    pump.ProcessPendingEvents();  // nothing pending: returns at once
    EXPECT_EQ(window.received.size(), 3u);
}

TEST(MessagePump, LeavesTheQuitForTheMessageLoop) {
    CountingWindow window;
    PostMessageW(window.Handle(), WM_APP, 1, 0);
    PostQuitMessage(7);
    MessagePump pump;
    pump.ProcessPendingEvents();
    pump.ProcessPendingEvents();  // a second pass must not swallow it either
    EXPECT_EQ(window.received, (std::vector<WPARAM>{1}));
    // Still queued, behind nothing else: a non-blocking look, so a lost quit fails, not hangs.
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
}

// The probe libraries beside this test, loaded through LibraryHooks.
using ProbeText = const char* (*)();
using ProbeCalls = int (*)();

struct Probe {
    const char* file;
    std::string LastText() const { return Export<ProbeText>("ProbeLastText")(); }
    int Calls() const {
        HMODULE library = GetModuleHandleA(file);
        return library == nullptr ? 0 : Export<ProbeCalls>("ProbeCalls")();
    }

    template <typename Function>
    Function Export(const char* name) const {
        const FARPROC found = GetProcAddress(GetModuleHandleA(file), name);
        return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
    }
};

TEST(LibraryHooks, CallsTheExportUnderItsPlainOrDecoratedName) {
    for (const char* file :
         {"hook_probe_plain.dll", "hook_probe_decorated.dll", "hook_probe_msvc.dll"}) {
        SCOPED_TRACE(file);
        const Probe probe{file};
        LibraryHooks hooks(LazyProcedure(file, "DoUpdate"),
                           LazyProcedure("no_such_library.dll", "ShowComment"));
        EXPECT_EQ(GetModuleHandleA(file), nullptr) << "loaded before the first call";
        hooks.DoUpdate("http://www.example.com/softs/tolvex/update.txt");
        ASSERT_NE(GetModuleHandleA(file), nullptr);
        EXPECT_EQ(probe.LastText(), "http://www.example.com/softs/tolvex/update.txt");
        hooks.DoUpdate("again");
        EXPECT_EQ(probe.Calls(), 2);
        EXPECT_EQ(probe.LastText(), "again");
    }
}

TEST(LibraryHooks, TextArrivesInTheAnsiCodePage) {
    if (GetACP() != 936) {
        GTEST_SKIP() << "needs the Chinese ANSI code page 936";
    }
    LibraryHooks hooks(LazyProcedure("hook_probe_plain.dll", "DoUpdate"),
                       LazyProcedure("no_such_library.dll", "ShowComment"));
    hooks.DoUpdate("Horalia \xe6\x84\x8f\xe8\xa7\x81");  // "Horalia 意见"
    EXPECT_EQ(Probe{"hook_probe_plain.dll"}.LastText(), "Horalia \xd2\xe2\xbc\xfb");
}

TEST(LibraryHooks, AMissingLibraryOrExportDoesNothing) {
    LibraryHooks hooks(LazyProcedure("no_such_library.dll", "DoUpdate"),
                       LazyProcedure("hook_probe_plain.dll", "ShowComment"));
    const int callsBefore = Probe{"hook_probe_plain.dll"}.Calls();
    hooks.DoUpdate("x");
    hooks.ShowComment("Horalia 3.0.0.0");
    hooks.ShowComment("Horalia 3.0.0.0");
    EXPECT_EQ(Probe{"hook_probe_plain.dll"}.Calls(), callsBefore);
}

}  // namespace
}  // namespace horalia::win32
