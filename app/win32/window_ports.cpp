#include "app/win32/window_ports.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "config/win32/virtual_keys.h"

namespace horalia::win32 {
namespace {

std::unique_ptr<std::function<void()>> TaskOf(LPARAM lParam) {
    return std::unique_ptr<std::function<void()>>(reinterpret_cast<std::function<void()>*>(lParam));
}

}  // namespace

void WindowTimer::Arm(std::int32_t delayMilliseconds) {
    if (window_ != nullptr) {
        const UINT delay = static_cast<UINT>(std::max<std::int32_t>(delayMilliseconds, 1));
        SetTimer(window_, id_, delay, nullptr);
    }
}

void WindowTimer::Cancel() {
    if (window_ != nullptr) {
        KillTimer(window_, id_);
    }
}

void WindowTimers::SetWindow(HWND window) {
    for (WindowTimer& timer : timers_) {
        timer.SetWindow(window);
    }
}

void WindowTimers::CancelAll() {
    for (WindowTimer& timer : timers_) {
        timer.Cancel();
    }
}

HotkeyState WindowHotkey::Register(const Hotkey& hotkey) {
    Unregister();
    const UINT modifiers = (hotkey.control ? MOD_CONTROL : 0) | (hotkey.alt ? MOD_ALT : 0) |
                           (hotkey.shift ? MOD_SHIFT : 0) | (hotkey.win ? MOD_WIN : 0);
    const UINT key = VirtualKeyOf(hotkey.key);
    // Refused with ERROR_HOTKEY_ALREADY_REGISTERED when another program holds the combination
    // (the system keeps some for itself the same way). Held down, it announces once.
    held_ = window_ != nullptr && key != 0 &&
            RegisterHotKey(window_, kId, modifiers | MOD_NOREPEAT, key) != FALSE;
    return held_ ? HotkeyState::kActive : HotkeyState::kTaken;
}

void WindowHotkey::Unregister() {
    if (held_ && window_ != nullptr) {
        UnregisterHotKey(window_, kId);
    }
    held_ = false;
}

void WindowTasks::Post(std::function<void()> task) {
    auto owned = std::make_unique<std::function<void()>>(std::move(task));
    if (window_ != nullptr &&
        PostMessageW(window_, kMessage, 0, reinterpret_cast<LPARAM>(owned.get()))) {
        owned.release();  // the message owns it now
    }
}

void WindowTasks::Run(LPARAM lParam) {
    (*TaskOf(lParam))();
}

void WindowTasks::DropPending() {
    // PeekMessage hands out a WM_QUIT whatever the filter: it goes back for the message loop.
    MSG pending;
    while (window_ != nullptr && PeekMessageW(&pending, window_, kMessage, kMessage, PM_REMOVE)) {
        if (pending.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(pending.wParam));
            break;
        }
        TaskOf(pending.lParam);
    }
}

void WindowPorts::SetWindow(HWND window) {
    timers.SetWindow(window);
    hotkey.SetWindow(window);
    tasks.SetWindow(window);
}

void WindowPorts::Stop() {
    timers.CancelAll();
    hotkey.Unregister();
}

}  // namespace horalia::win32
