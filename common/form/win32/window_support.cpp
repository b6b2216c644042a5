#include "common/form/win32/window_support.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/form/form.h"
#include "common/win32/ansi_text.h"

namespace horalia::win32 {
namespace {

// GetDpiForWindow exists from Windows 10 on; earlier systems have one DPI for everything.
int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int CALLBACK CountFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceInstalled(const wchar_t* face) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &query, CountFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// Tahoma, the dialogs' design font, has no Chinese glyphs of its own.
const wchar_t* ChineseFaceName() {
    static const wchar_t* const face = [] {
        for (const wchar_t* candidate : {L"Microsoft YaHei", L"SimSun", L"NSimSun"}) {
            if (FaceInstalled(candidate)) {
                return candidate;
            }
        }
        return L"SimSun";
    }();
    return face;
}

HHOOK g_keyboardHook = nullptr;
std::vector<HWND> g_modelessDialogs;

LRESULT CALLBACK ModelessKeysHook(int code, WPARAM removing, LPARAM message) {
    MSG* msg = reinterpret_cast<MSG*>(message);
    if (code >= 0 && removing == PM_REMOVE && msg->message >= WM_KEYFIRST &&
        msg->message <= WM_KEYLAST) {
        for (HWND dialog : g_modelessDialogs) {
            if ((msg->hwnd == dialog || IsChild(dialog, msg->hwnd)) &&
                IsDialogMessageW(dialog, msg)) {
                // Handled: the loop that fetched it dispatches nothing.
                msg->message = WM_NULL;
                break;
            }
        }
    }
    return CallNextHookEx(g_keyboardHook, code, removing, message);
}

}  // namespace

int WindowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0) {
            return static_cast<int>(dpi);
        }
    }
    return SystemDpi();
}

int TwipsToPixels(int twips, int dpi) {
    return form::TwipsToPixels(twips, dpi);
}

HFONT CreateNamedFont(int dpi, double points, const wchar_t* face, bool underline) {
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = underline ? TRUE : FALSE;
    font.lfCharSet = GB2312_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

HFONT CreateChineseFont(int dpi, double points, bool underline) {
    return CreateNamedFont(dpi, points, ChineseFaceName(), underline);
}

HWND CreateControl(HWND parent, const wchar_t* windowClass, const std::string& utf8Text,
                   DWORD style, int id, int left, int top, int width, int height, int dpi,
                   HFONT font) {
    HWND control = CreateWindowExW(
        0, windowClass, Utf8ToWide(utf8Text).c_str(), WS_CHILD | WS_VISIBLE | style,
        TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(width, dpi),
        TwipsToPixels(height, dpi), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (control != nullptr && font != nullptr) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return control;
}

void SetClientSizeCentred(HWND window, int width, int height) {
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    const int outerWidth = outer.right - outer.left;
    const int outerHeight = outer.bottom - outer.top;
    const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - outerWidth) / 2);
    const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - outerHeight) / 2);
    SetWindowPos(window, nullptr, x, y, outerWidth, outerHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE TextExtent(HWND control, const std::wstring& text) {
    SIZE size{0, 0};
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

void RegisterModelessDialog(HWND dialog) {
    if (g_modelessDialogs.empty()) {
        g_keyboardHook =
            SetWindowsHookExW(WH_GETMESSAGE, ModelessKeysHook, nullptr, GetCurrentThreadId());
    }
    g_modelessDialogs.push_back(dialog);
}

void UnregisterModelessDialog(HWND dialog) {
    std::erase(g_modelessDialogs, dialog);
    if (g_modelessDialogs.empty() && g_keyboardHook != nullptr) {
        UnhookWindowsHookEx(g_keyboardHook);
        g_keyboardHook = nullptr;
    }
}

EmptyDialogTemplate::EmptyDialogTemplate(DWORD style, DWORD exStyle) : words{} {
    words.header.style = style;
    words.header.dwExtendedStyle = exStyle;
}

}  // namespace horalia::win32
