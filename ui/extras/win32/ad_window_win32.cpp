#include "ui/extras/win32/ad_window_win32.h"

#include <ole2.h>

#include <cmath>
#include <utility>

#include "common/form/win32/form_window.h"
#include "common/win32/ansi_text.h"
#include "ui/extras/urls.h"

namespace horalia::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"Horalia.Form_广告";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

}  // namespace

AdWindow::AdWindow(HINSTANCE instance, HWND owner, EventPump& pump, UrlOpener& opener,
                   std::string advertisementUrl)
    : instance_(instance),
      owner_(owner),
      form_(*this, pump, opener, std::move(advertisementUrl), kSponsorUrl) {
    WNDCLASSEXW windowClass{};
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClass;
    RegisterWindowClass(windowClass);  // fails harmlessly when registered already
}

AdWindow::~AdWindow() {
    UnloadQuietly();
    browser_.reset();
    if (oleReady_) {
        OleUninitialize();
    }
}

void AdWindow::Load() {
    if (Handle() != nullptr) {
        return;
    }
    const form::Form& table = AdForm();
    RECT outer{0, 0, form::TwipsToPixels(table.clientWidth, kAdPixelDpi),
               form::TwipsToPixels(table.clientHeight, kAdPixelDpi)};
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    if (CreateHandle(kExStyle, kWindowClass, Utf8ToWide(std::string(table.caption)).c_str(), kStyle,
                     0, 0, outer.right - outer.left, outer.bottom - outer.top, owner_, instance_)) {
        icon_ = LoadProgramIcon(GetSystemMetrics(SM_CXSMICON));
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
        form_.Form_Load();
    }
}

void AdWindow::UnloadQuietly() {
    form_.OpenSponsorOnClose = false;
    Unload();
}

void AdWindow::Unload() {
    if (Handle() != nullptr) {
        form_.Form_Unload();
        DestroyWindow(Handle());
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
    browser_ = BrowserHost::Create(Handle(), area, [this] { OnDocumentComplete(); });
    return browser_ != nullptr;
}

void AdWindow::Navigate(const std::string& url) {
    if (browser_ != nullptr) {
        browser_->Navigate(url);
    }
}

void AdWindow::Hide() {
    ShowWindow(Handle(), SW_HIDE);
}

// Shown without taking the focus from whatever the user is typing into.
void AdWindow::Show() {
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
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
    SetWindowPos(Handle(), nullptr, TwipsToScreenPixels(twips), r.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AdWindow::MoveTop(int twips) {
    const RECT r = OuterRect();
    SetWindowPos(Handle(), nullptr, r.left, TwipsToScreenPixels(twips), 0, 0,
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
    GetWindowRect(Handle(), &r);
    return r;
}

void AdWindow::OnDocumentComplete() {
    ++eventDepth_;
    form_.WebBrowser_广告_DocumentComplete();
    --eventDepth_;
    if (Handle() == nullptr) {
        ReleaseBrowserWhenIdle();
    }
}

void AdWindow::ReleaseBrowserWhenIdle() {
    if (eventDepth_ == 0) {
        browser_.reset();
    }
}

LRESULT AdWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:  // the close box
            Unload();
            return 0;
        case WM_DESTROY:
            ReleaseBrowserWhenIdle();
            break;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace horalia::win32
