// Opens the settings dialog, its advanced page or the about box for a while, so that a screenshot
// can be taken:
//   ui_forms_demo.exe settings|settings-tip|advanced|about <milliseconds> <geometry file>
// The window's outer rectangle is written to the file as WxH+X+Y once it is shown.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "fakes/fake_profile_backend.h"
#include "fakes/fake_start_store.h"
#include "fakes/fake_window_ports.h"
#include "ui/extras/win32/secondary_windows.h"

namespace {

using namespace horalia;

class MessagePump : public EventPump {
  public:
    void ProcessPendingEvents() override {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
};

const wchar_t* g_geometryFile = nullptr;

void WriteGeometry(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    if (FILE* file = _wfopen(g_geometryFile, L"w")) {
        std::fprintf(file, "%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        std::fclose(file);
    }
}

void CALLBACK RecordAbout(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    WriteGeometry(GetActiveWindow());
}

void CALLBACK CloseAbout(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndDialog(GetActiveWindow(), IDOK);
}

// Rests the mouse pointer on the control, so that its tooltip appears.
void PointAt(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    SetCursorPos(r.left + 20, (r.top + r.bottom) / 2);
}

void PumpFor(DWORD milliseconds) {
    MessagePump pump;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        pump.ProcessPendingEvents();
        Sleep(10);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count < 4) {
        return 2;
    }
    const std::wstring which = args[1];
    const DWORD hold = static_cast<DWORD>(std::wcstoul(args[2], nullptr, 10));
    g_geometryFile = args[3];

    fakes::FakeProfileBackend backend;
    读写配置 config(backend);
    config.SpecifyIni("C:\\Horalia\\Value.ini");
    fakes::FakeStartStore store;
    SettingsRecord settings;
    settings.AnnounceFrequency = 1;
    settings.AnnounceFormat = 2;
    settings.AdMode = 1;
    settings.AutoSyncOff = 1;
    MessagePump pump;
    fakes::FakeUrlOpener opener;
    fakes::FakeMainForm mainForm;
    win32::SecondaryWindows windows(
        {instance, config, store, "\"C:\\Horalia\\Horalia.exe\"", settings, pump, opener});

    if (which == L"settings" || which == L"settings-tip") {
        windows.ShowSettingsDialog(mainForm);
        PumpFor(300);
        if (which == L"settings-tip") {
            PointAt(FindWindowExW(windows.Settings().Handle(), nullptr, nullptr, L"开机启动"));
            PumpFor(1500);
        }
        WriteGeometry(windows.Settings().Handle());
        PumpFor(hold);
    } else if (which == L"advanced") {
        settings.QuietPeriods = {QuietPeriod{12 * 60, 13 * 60 + 30},
                                 QuietPeriod{22 * 60 + 30, 7 * 60}};
        settings.AnnounceInterval = 10;
        settings.AnnounceDays = ParseAnnouncementDays("1-5").value();
        settings.HalfOrQuarterHours = 1;
        settings.Volume = 80;
        windows.ShowSettingsDialog(mainForm);
        windows.Settings().ShowAdvancedPage();
        PumpFor(300);
        WriteGeometry(windows.Settings().Advanced().Handle());
        PumpFor(hold);
    } else if (which == L"about") {
        SetTimer(nullptr, 0, 300, RecordAbout);
        SetTimer(nullptr, 0, hold + 300, CloseAbout);
        windows.ShowAboutBox();
    } else {
        return 2;
    }
    return 0;
}
