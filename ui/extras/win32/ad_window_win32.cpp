#include "ui/extras/win32/ad_window_win32.h"

#include <ole2.h>

#include <cmath>
#include <utility>

#include "common/win32/ansi_text.h"
#include "ui/extras/urls.h"
#include "common/form/win32/form_window.h"

namespace horalia::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"Horalia.Form_广告";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);  // fails harmlessly when registered already
}

}  // namespace

AdWindow::AdWindow(HINSTANCE instance, HWND owner, EventPump& pump, UrlOpener& opener,
                   std::string advertisementUrl)
    : instance_(instance),
      owner_(owner),
      form_(*this, pump, opener, std::move(advertisementUrl), kSponsorUrl) {
    RegisterWindowClass(instance_, WindowProc);
}

AdWindow::~AdWindow() {
    UnloadQuietly();
    browser_.reset();
    if (oleReady_) {
        OleUninitialize();
    }
}

void AdWindow::Load() {
    if (window_ != nullptr) {
        return;
    }
    const form::Form& table = AdForm();
    RECT outer{0, 0, form::TwipsToPixels(table.clientWidth, kAdPixelDpi),
               form::TwipsToPixels(table.clientHeight, kAdPixelDpi)};
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    window_ = CreateWindowExW(
        kExStyle, kWindowClass, Utf8ToWide(std::string(table.caption)).c_str(), kStyle, 0, 0,
        outer.right - outer.left, outer.bottom - outer.top, owner_, nullptr, instance_, this);
    if (window_ != nullptr) {
        icon_ = LoadProgramIcon(GetSystemMetrics(SM_CXSMICON));
        SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
        form_.Form_Load();
    }
}

void AdWindow::UnloadQuietly() {
    form_.OpenSponsorOnClose = false;
    Unload();
}

void AdWindow::Unload() {
    if (window_ != nullptr) {
        form_.Form_Unload();
        DestroyWindow(window_);
    }
}

bool AdWindow::CreateBrowser() {
    if (!oleReady_) {
        // S_FALSE: the thread had OLE already; either way it is ours to balance.
        oleReady_ = SUCCEEDED(OleInitialize(nullptr));
        if (!oleReady_) {
            return false;
        }
    }
    const form::PixelRect r =
        form::ToPixels(form::FindControl(AdForm(), kAdBrowserId)->rect, kAdPixelDpi);
    const RECT area{r.left, r.top, r.left + r.width, r.top + r.height};
    browser_ = BrowserHost::Create(window_, area, [this] { OnDocumentComplete(); });
    return browser_ != nullptr;
}

void AdWindow::Navigate(const std::string& url) {
    if (browser_ != nullptr) {
        browser_->Navigate(url);
    }
}

void AdWindow::Hide() {
    ShowWindow(window_, SW_HIDE);
}

// Shown without taking the focus from whatever the user is typing into.
void AdWindow::Show() {
    ShowWindow(window_, SW_SHOWNOACTIVATE);
}

std::int32_t AdWindow::TaskbarHeightPixels() {
    RECT taskbar{0, 0, 0, 0};
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    if (tray != nullptr && !GetWindowRect(tray, &taskbar)) {
        taskbar = RECT{0, 0, 0, 0};
    }
    return taskbar.bottom - taskbar.top;
}

int AdWindow::ScreenWidthPixels() {
    return GetSystemMetrics(SM_CXSCREEN);
}

int AdWindow::ScreenHeightPixels() {
    return GetSystemMetrics(SM_CYSCREEN);
}

int AdWindow::OuterWidthPixels() {
    const RECT r = OuterRect();
    return r.right - r.left;
}

int AdWindow::OuterHeightPixels() {
    const RECT r = OuterRect();
    return r.bottom - r.top;
}

void AdWindow::MoveLeft(int twips) {
    const RECT r = OuterRect();
    SetWindowPos(window_, nullptr, TwipsToScreenPixels(twips), r.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AdWindow::MoveTop(int twips) {
    const RECT r = OuterRect();
    SetWindowPos(window_, nullptr, r.left, TwipsToScreenPixels(twips), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

form::PixelRect AdWindow::AvailableAreaPixels() {
    RECT work{0, 0, 0, 0};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        return {};
    }
    return {work.left, work.top, work.right - work.left, work.bottom - work.top};
}

RECT AdWindow::OuterRect() const {
    RECT r{0, 0, 0, 0};
    GetWindowRect(window_, &r);
    return r;
}

void AdWindow::OnDocumentComplete() {
    ++eventDepth_;
    form_.WebBrowser_广告_DocumentComplete();
    --eventDepth_;
    if (window_ == nullptr) {
        ReleaseBrowserWhenIdle();
    }
}

void AdWindow::ReleaseBrowserWhenIdle() {
    if (eventDepth_ == 0) {
        browser_.reset();
    }
}

LRESULT CALLBACK AdWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<AdWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) {
        switch (message) {
            case WM_CLOSE:  // the close box
                self->Unload();
                return 0;
            case WM_DESTROY:
                self->window_ = nullptr;
                SetWindowLongPtrW(window, GWLP_USERDATA, 0);
                self->ReleaseBrowserWhenIdle();
                break;
            default:
                break;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace horalia::win32
