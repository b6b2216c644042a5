// Horalia.exe from the outside, as a user meets it: started from a copy of the build's bin/ folder
// it hides its marker window, refuses a second start, announces on a left click of its tray icon
// and on its hotkey, opens its menu on a right click and ends from the exit entry. Under Wine
// without a desktop tray the icons live in Wine's own tray window ("Wine System Tray"), one
// window per icon, and mouse messages posted to an icon's window reach the program's tray
// callback as clicks.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/clip_log.h"
#include "app/tray_menu.h"
#include "common/identity.h"
#include "common/win32/ansi_text.h"
#include "config/hotkey.h"
#include "ui/settings/settings_form.h"
#include "ui/settings/settings_page.h"

namespace fs = std::filesystem;

namespace {

constexpr DWORD kWaitMilliseconds = 20000;  // no step may hang the test run
// Wine's icon windows: "__winex11_tray_icon" (Wine 8's X11 driver), "__wine_tray_icon" (later
// explorer.exe).
constexpr wchar_t kWineTrayIconClassPart[] = L"tray_icon";
constexpr wchar_t kPopupMenuClass[] = L"#32768";

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds = kWaitMilliseconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

fs::path ThisFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(std::wstring(path, length)).parent_path();
}

// A fresh program folder: Horalia.exe, Sound/ and an empty Value.ini, removed afterwards; the
// programs this test starts are asked to log their clips there.
class ProgramCopy {
  public:
    // The test build by default: it writes the clips it plays to a log.
    explicit ProgramCopy(const fs::path& program = ThisFolder() / L"test-build" / L"Horalia.exe") {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = fs::path(temp) / (L"horalia-e2e-" + std::to_wstring(GetCurrentProcessId()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        const fs::path bin = ThisFolder();
        fs::copy_file(program, Executable());
        fs::copy(bin / L"Sound", folder_ / L"Sound", fs::copy_options::recursive);
        std::ofstream(Ini(), std::ios::binary) << "[Horalia]\r\n";
        // Programs started from here are asked to log the clips they play into the folder.
        const std::string variable = horalia::kClipLogVariable;
        SetEnvironmentVariableW(std::wstring(variable.begin(), variable.end()).c_str(),
                                ClipLog().c_str());
    }
    ~ProgramCopy() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    fs::path Executable() const { return folder_ / L"Horalia.exe"; }
    fs::path Ini() const { return folder_ / L"Value.ini"; }
    fs::path ClipLog() const { return folder_ / L"clips.log"; }

  private:
    fs::path folder_;
};

// A started program; one still running at the end of a test is ended.
class Process {
  public:
    explicit Process(const fs::path& executable) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + executable.wstring() + L"\"";
        started_ = CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                  0, nullptr, nullptr, &startup, &info_) != FALSE;
    }
    ~Process() {
        if (started_) {
            if (Running()) {
                TerminateProcess(info_.hProcess, 99);
            }
            CloseHandle(info_.hThread);
            CloseHandle(info_.hProcess);
        }
    }

    bool Started() const { return started_; }
    DWORD Id() const { return info_.dwProcessId; }
    bool Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
    bool WaitForEnd() const {
        return WaitForSingleObject(info_.hProcess, kWaitMilliseconds) == WAIT_OBJECT_0;
    }
    DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

  private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

HWND FindMarker() {
    return FindWindowA(nullptr, horalia::kMainWindowTitle);
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

struct WindowSearch {
    std::wstring classPart;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectIfOfClass(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    if (ClassOf(window).find(search->classPart) != std::wstring::npos) {
        search->found.push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK CollectWithChildren(HWND window, LPARAM context) {
    CollectIfOfClass(window, context);
    EnumChildWindows(window, &CollectIfOfClass, context);
    return TRUE;
}

// Every window, top-level or child, whose class name contains the text.
std::vector<HWND> WindowsOfClass(const std::wstring& classPart) {
    WindowSearch search{classPart, {}};
    EnumWindows(&CollectWithChildren, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool VisiblePopupMenuOf(DWORD processId) {
    for (HWND menu : WindowsOfClass(kPopupMenuClass)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(menu, &owner);
        if (owner == processId && IsWindowVisible(menu)) {
            return true;
        }
    }
    return false;
}

void Click(HWND icon, UINT down, UINT up) {
    PostMessageW(icon, down, 0, MAKELPARAM(4, 4));
    PostMessageW(icon, up, 0, MAKELPARAM(4, 4));
}

std::vector<std::string> ReadLines(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string FileBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The program's top-level window of that title, once it is shown: its controls are filled in.
HWND ShownWindowOf(DWORD processId, const wchar_t* title) {
    const HWND window = FindWindowW(nullptr, title);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == processId && IsWindowVisible(window) ? window : nullptr;
}

void ChooseFromMenu(HWND marker, horalia::TrayMenuEntry entry) {
    PostMessageW(marker, WM_COMMAND, MAKEWPARAM(horalia::TrayMenuIndex(entry) + 1, 0), 0);
}

// The advanced page, opened as a person opens it: 参数设置 from the tray menu, then the link on
// the settings dialog. Null when either does not open.
HWND OpenAdvancedPage(HWND marker, DWORD processId) {
    ChooseFromMenu(marker, horalia::TrayMenuEntry::托盘图标_参数设置);
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = ShownWindowOf(processId, L"Horalia设置")) != nullptr; })) {
        return nullptr;
    }
    Click(GetDlgItem(dialog, horalia::kAdvancedLabelId), WM_LBUTTONDOWN, WM_LBUTTONUP);
    HWND page = nullptr;
    WaitFor([&] { return (page = ShownWindowOf(processId, L"高级设置")) != nullptr; });
    return page;
}

HWND HotkeyBox(HWND page) {
    return GetDlgItem(page, horalia::SettingControlId("报时热键"));
}

// Keys pressed together and let go in reverse order, as the keyboard gives them. SendInput
// enters the Wine server by the same way as the X driver's key events: the server matches the
// registered hotkeys there, posting WM_HOTKEY to the holder, and hands other keys to the focus.
void PressTogether(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    const auto add = [&](WORD key, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    for (const WORD key : keys) {
        add(key, 0);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        add(*key, KEYEVENTF_KEYUP);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PressIntoHotkeyBox(HWND page, std::initializer_list<WORD> keys) {
    SetForegroundWindow(page);  // the keys go to the foreground window's focus
    SendMessageW(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(HotkeyBox(page)), TRUE);
    PressTogether(keys);
}

void PressDefaultHotkey() {
    PressTogether({VK_CONTROL, VK_MENU, VK_SHIFT, 'T'});
}

// A text as the Value.ini of a Chinese system holds it, in GBK.
std::string Gbk(const std::wstring& text) {
    std::string bytes(text.size() * 2, '\0');
    bytes.resize(static_cast<std::size_t>(
        WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

bool IniHolds(const ProgramCopy& copy, const std::wstring& line) {
    return FileBytes(copy.Ini()).find(Gbk(line)) != std::string::npos;
}

TEST(HoraliaExe, RunsOnceAnnouncesOnClickAndEndsFromTheMenu) {
    ASSERT_EQ(FindMarker(), nullptr) << "another Horalia is running in this Wine prefix";
    ProgramCopy copy;

    // The first start: its hidden window is found by title alone.
    Process first(copy.Executable());
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(WaitFor([] { return FindMarker() != nullptr; })) << "no marker window";
    const HWND marker = FindMarker();
    DWORD markerProcess = 0;
    GetWindowThreadProcessId(marker, &markerProcess);
    EXPECT_EQ(markerProcess, first.Id());
    EXPECT_FALSE(IsWindowVisible(marker));

    // A second start ends at once, with exit code 0, and leaves Value.ini alone.
    {
        const std::string iniBefore = FileBytes(copy.Ini());
        const fs::file_time_type writtenBefore = fs::last_write_time(copy.Ini());
        Process second(copy.Executable());
        ASSERT_TRUE(second.Started());
        ASSERT_TRUE(second.WaitForEnd()) << "the second start keeps running";
        EXPECT_EQ(second.ExitCode(), 0u);
        EXPECT_EQ(FileBytes(copy.Ini()), iniBefore);
        EXPECT_EQ(fs::last_write_time(copy.Ini()), writtenBefore);
        EXPECT_TRUE(first.Running());
        EXPECT_EQ(FindMarker(), marker);
    }

    // The tray icon: one window in Wine's tray (this prefix runs nothing else with an icon).
    std::vector<HWND> icons;
    ASSERT_TRUE(WaitFor([&] { return !(icons = WindowsOfClass(kWineTrayIconClassPart)).empty(); }))
        << "no tray icon window";
    ASSERT_EQ(icons.size(), 1u);
    const HWND icon = icons.front();

    // A left click announces the time: the chime, 现在时间, ..., 整 or 分.
    Click(icon, WM_LBUTTONDOWN, WM_LBUTTONUP);
    std::vector<std::string> clips;
    const auto announcementEnded = [&] {
        clips = ReadLines(copy.ClipLog());
        return !clips.empty() &&
               (EndsWith(clips.back(), "\\整.wav") || EndsWith(clips.back(), "\\分.wav"));
    };
    ASSERT_TRUE(WaitFor(announcementEnded))
        << "no complete announcement, " << clips.size() << " clips";
    ASSERT_GE(clips.size(), 5u);
    EXPECT_TRUE(EndsWith(clips[0], "\\Sound\\提示.wav")) << clips[0];
    EXPECT_TRUE(EndsWith(clips[1], "\\Sound\\现在时间.wav")) << clips[1];

    // A right click opens the popup menu; cancelling it changes nothing.
    Click(icon, WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_TRUE(WaitFor([&] { return VisiblePopupMenuOf(first.Id()); })) << "no popup menu";
    PostMessageW(marker, WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !VisiblePopupMenuOf(first.Id()); })) << "menu stays open";
    EXPECT_TRUE(first.Running());

    // The about box does not keep the menu from opening, nor the program from ending.
    ChooseFromMenu(marker, horalia::TrayMenuEntry::托盘图标_关于);
    ASSERT_TRUE(WaitFor([&] { return ShownWindowOf(first.Id(), L"关于 Horalia") != nullptr; }))
        << "no about box";
    Click(icon, WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_TRUE(WaitFor([&] { return VisiblePopupMenuOf(first.Id()); })) << "no menu beside 关于";
    PostMessageW(marker, WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !VisiblePopupMenuOf(first.Id()); })) << "menu stays open";

    // The exit entry ends the process.
    const int exitId = horalia::TrayMenuIndex(horalia::TrayMenuEntry::托盘图标_退出程序) + 1;
    PostMessageW(marker, WM_COMMAND, MAKEWPARAM(exitId, 0), 0);
    ASSERT_TRUE(first.WaitForEnd()) << "still running after the exit entry";
    EXPECT_EQ(first.ExitCode(), 0u);
    EXPECT_EQ(FindMarker(), nullptr);
    EXPECT_EQ(ReadLines(copy.ClipLog()).size(), clips.size()) << "announced again";
}

// Counts the announcements in the clip log: each begins with the chime.
std::size_t Announcements(const std::vector<std::string>& clips) {
    std::size_t count = 0;
    for (const std::string& clip : clips) {
        count += EndsWith(clip, "\\Sound\\提示.wav") ? 1 : 0;
    }
    return count;
}

// The log holds this many announcements, the last one whole.
bool AnnouncedTimes(const fs::path& log, std::size_t times) {
    const std::vector<std::string> clips = ReadLines(log);
    return Announcements(clips) == times &&
           (EndsWith(clips.back(), "\\整.wav") || EndsWith(clips.back(), "\\分.wav"));
}

// Ctrl+Alt+Shift+T announces from anywhere; a combination pressed into the advanced page's box
// and applied is written to Value.ini and takes its place at once, and Backspace there clears it.
TEST(HoraliaExe, AnnouncesOnItsHotkeyAndTakesANewOneFromTheAdvancedPage) {
    ASSERT_EQ(FindMarker(), nullptr) << "another Horalia is running in this Wine prefix";
    ProgramCopy copy;
    Process program(copy.Executable());
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(WaitFor([] { return FindMarker() != nullptr; })) << "no marker window";
    const HWND marker = FindMarker();

    // The page opens from the message loop, so the program has loaded its settings by then.
    const HWND page = OpenAdvancedPage(marker, program.Id());
    ASSERT_NE(page, nullptr) << "no advanced page";
    EXPECT_EQ(SendMessageW(HotkeyBox(page), HKM_GETHOTKEY, 0, 0),
              MAKEWORD('T', HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_SHIFT));

    PressDefaultHotkey();
    ASSERT_TRUE(WaitFor([&] { return AnnouncedTimes(copy.ClipLog(), 1); }))
        << "no announcement on Ctrl+Alt+Shift+T";

    // A new combination, pressed into the box with the focus, and applied.
    SetForegroundWindow(page);
    PressIntoHotkeyBox(page, {VK_CONTROL, VK_MENU, VK_F9});
    EXPECT_TRUE(WaitFor([&] {
        return SendMessageW(HotkeyBox(page), HKM_GETHOTKEY, 0, 0) ==
               MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_ALT);
    }));
    PostMessageW(GetDlgItem(page, horalia::kApplyControlId), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return IniHolds(copy, L"报时热键=Ctrl+Alt+F9\r\n"); }))
        << FileBytes(copy.Ini());

    // The old combination is given up: another program may take it now.
    EXPECT_TRUE(WaitFor([] {
        return RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'T') != FALSE;
    })) << "Ctrl+Alt+Shift+T still held";
    UnregisterHotKey(nullptr, 1);
    // The new one announces. A press while the first announcement still sounds is dropped, so
    // it is pressed again until an announcement starts.
    EXPECT_TRUE(WaitFor([&] {
        PressTogether({VK_CONTROL, VK_MENU, VK_F9});
        return WaitFor([&] { return Announcements(ReadLines(copy.ClipLog())) == 2; }, 1000);
    })) << "no announcement on Ctrl+Alt+F9";
    EXPECT_TRUE(WaitFor([&] { return AnnouncedTimes(copy.ClipLog(), 2); }));

    // Backspace in the box switches the hotkey off. Pressed again until the box is empty: on a
    // busy machine the key may come before the page is in the foreground again.
    EXPECT_TRUE(WaitFor([&] {
        PressIntoHotkeyBox(page, {VK_BACK});
        return WaitFor([&] { return SendMessageW(HotkeyBox(page), HKM_GETHOTKEY, 0, 0) == 0; },
                       1000);
    })) << "Backspace did not clear the hotkey box";
    PostMessageW(GetDlgItem(page, horalia::kApplyControlId), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return IniHolds(copy, L"报时热键=\r\n"); })) << FileBytes(copy.Ini());
    EXPECT_TRUE(WaitFor([] {
        return RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F9) != FALSE;
    })) << "Ctrl+Alt+F9 still held";
    UnregisterHotKey(nullptr, 1);

    ChooseFromMenu(marker, horalia::TrayMenuEntry::托盘图标_退出程序);
    EXPECT_TRUE(program.WaitForEnd());
}

// A combination another program holds stays with it: the advanced page says so beside the box,
// and the key reaches its holder, not Horalia.
TEST(HoraliaExe, LeavesAHotkeyHeldElsewhereToItsHolder) {
    ASSERT_EQ(FindMarker(), nullptr) << "another Horalia is running in this Wine prefix";
    constexpr int kHolderId = 7;
    ASSERT_TRUE(RegisterHotKey(nullptr, kHolderId, MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'T'));
    ProgramCopy copy;
    Process program(copy.Executable());
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(WaitFor([] { return FindMarker() != nullptr; })) << "no marker window";
    const HWND page = OpenAdvancedPage(FindMarker(), program.Id());
    ASSERT_NE(page, nullptr) << "no advanced page";
    wchar_t note[64] = {};
    GetWindowTextW(GetDlgItem(page, horalia::SettingControlId("报时热键", horalia::kNotePart)),
                   note, 64);
    EXPECT_EQ(horalia::win32::WideToUtf8(note),
              horalia::HotkeyStateText(horalia::HotkeyState::kTaken));

    PressDefaultHotkey();
    MSG message;
    EXPECT_TRUE(WaitFor([&] {
        return PeekMessageW(&message, reinterpret_cast<HWND>(-1), WM_HOTKEY, WM_HOTKEY,
                            PM_REMOVE) &&
               message.wParam == kHolderId;
    })) << "the holder did not get its key";
    UnregisterHotKey(nullptr, kHolderId);

    ChooseFromMenu(FindMarker(), horalia::TrayMenuEntry::托盘图标_退出程序);
    EXPECT_TRUE(program.WaitForEnd());
}

// The program people run, elevated, writes nowhere an environment variable names: the clip log
// is the test build's alone.
TEST(HoraliaExe, TheShippedProgramKeepsNoClipLog) {
    ASSERT_EQ(FindMarker(), nullptr) << "another Horalia is running in this Wine prefix";
    ProgramCopy copy(ThisFolder() / L"Horalia.exe");
    Process program(copy.Executable());
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(WaitFor([] { return FindMarker() != nullptr; })) << "no marker window";
    std::vector<HWND> icons;
    ASSERT_TRUE(WaitFor([&] { return !(icons = WindowsOfClass(kWineTrayIconClassPart)).empty(); }));
    Click(icons.front(), WM_LBUTTONDOWN, WM_LBUTTONUP);
    std::this_thread::sleep_for(std::chrono::seconds(3));  // the announcement goes on meanwhile
    EXPECT_FALSE(fs::exists(copy.ClipLog()));
    PostMessageW(FindMarker(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForEnd());
}

}  // namespace
