// How fast Horalia.exe's window answers while it speaks, beside the same figure when idle, and
// how soon its menu opens after a right click that comes half a second after a left click. Run
// under Wine by scripts/bench-responsiveness.sh --windows, with the program already started.
//
//   tray_responsiveness.exe CLIP_LOG
//
// Clicks go to Wine's tray icon window, as a person's would. Every answer is a
// SendMessageTimeout(WM_NULL) to the hidden main window.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/identity.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool WaitFor(const std::function<bool()>& condition, int seconds = 20) {
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    while (!condition()) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

struct Search {
    std::wstring classPart;
    DWORD process = 0;  // 0: any
    HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<Search*>(lParam);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (std::wstring(name).find(search.classPart) != std::wstring::npos &&
        (search.process == 0 || (owner == search.process && IsWindowVisible(window)))) {
        search.found = window;
        return FALSE;
    }
    EnumChildWindows(window, &Visit, lParam);
    return search.found == nullptr;
}

HWND FindOfClass(const std::wstring& classPart, DWORD process = 0) {
    Search search{classPart, process, nullptr};
    EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Click(HWND icon, UINT down, UINT up) {
    PostMessageW(icon, down, 0, MAKELPARAM(4, 4));
    PostMessageW(icon, up, 0, MAKELPARAM(4, 4));
}

// Answers to WM_NULL every 100 ms for the given time.
std::vector<double> Answers(HWND window, int seconds) {
    std::vector<double> times;
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < end) {
        const auto start = Clock::now();
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        times.push_back(MillisecondsSince(start));
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return times;
}

void Show(const char* name, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-9s %3zu answers  median %6.1f ms  slowest %7.1f ms\n", name, times.size(),
                times[times.size() / 2], times.back());
}

std::size_t LinesOf(const char* file) {
    std::ifstream in(file);
    std::size_t lines = 0;
    for (std::string line; std::getline(in, line);) {
        ++lines;
    }
    return lines;
}

// Right click; the time until the menu shows, then the menu is kept open for `open`.
double OpenMenu(HWND icon, HWND window, DWORD process, std::chrono::milliseconds open) {
    const auto start = Clock::now();
    Click(icon, WM_RBUTTONDOWN, WM_RBUTTONUP);
    WaitFor([&] { return FindOfClass(L"#32768", process) != nullptr; });
    const double shown = MillisecondsSince(start);
    std::this_thread::sleep_for(open);
    PostMessageW(window, WM_CANCELMODE, 0, 0);
    WaitFor([&] { return FindOfClass(L"#32768", process) == nullptr; });
    return shown;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tray_responsiveness.exe CLIP_LOG\n");
        return 2;
    }
    HWND window = nullptr;
    HWND icon = nullptr;
    if (!WaitFor([&] { return (window = FindWindowA(nullptr, horalia::kMainWindowTitle)); }) ||
        !WaitFor([&] { return (icon = FindOfClass(L"tray_icon")); })) {
        std::fprintf(stderr, "no Horalia window or tray icon\n");
        return 1;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    std::this_thread::sleep_for(std::chrono::seconds(3));  // past the start-up work

    Show("idle", Answers(window, 5));
    std::printf("menu idle: opens after %.0f ms\n",
                OpenMenu(icon, window, process, std::chrono::milliseconds(300)));
    std::this_thread::sleep_for(std::chrono::seconds(1));

    Click(icon, WM_LBUTTONDOWN, WM_LBUTTONUP);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const std::size_t before = LinesOf(argv[1]);
    const double shown = OpenMenu(icon, window, process, std::chrono::seconds(3));
    std::printf(
        "menu 0.5 s after a left click: opens after %.0f ms; clips handed while it was "
        "open: %zu\n",
        shown, LinesOf(argv[1]) - before);
    std::this_thread::sleep_for(std::chrono::seconds(6));  // the sentence ends

    Click(icon, WM_LBUTTONDOWN, WM_LBUTTONUP);
    Show("speaking", Answers(window, 8));
    PostMessageW(window, WM_CLOSE, 0, 0);  // ends the program as the exit entry does
    return 0;
}
