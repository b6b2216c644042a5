#include "common/form/win32/form_window.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <string>

#include "common/form/win32/window_support.h"
#include "common/win32/ansi_text.h"
#include "common/win32/com.h"

namespace horalia::win32 {
namespace {

using form::Kind;

BOOL CALLBACK TakeFirstIconGroup(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
    *reinterpret_cast<LPWSTR*>(found) = name;
    return FALSE;
}

const wchar_t* WindowClassOf(Kind kind) {
    switch (kind) {
        case Kind::Label:
        case Kind::Link:
            return WC_STATICW;
        case Kind::TextBox:
        case Kind::EditBox:
            return WC_EDITW;
        case Kind::Slider:
            return TRACKBAR_CLASSW;
        case Kind::HotkeyBox:
            return HOTKEY_CLASSW;
        default:
            return WC_BUTTONW;
    }
}

// Each option-button array is one Win32 group: only its first button is a Tab stop and starts a
// group; every other control starts a group of its own.
DWORD StyleOf(const form::Control& control, const form::Control* previous) {
    const bool continuesGroup = control.kind == Kind::OptionButton && previous != nullptr &&
                                previous->optionGroup == control.optionGroup;
    DWORD style = continuesGroup ? 0 : WS_GROUP;
    if (form::TakesFocus(control.kind) && !continuesGroup) {
        style |= WS_TABSTOP;
    }
    if (!control.enabled) {
        style |= WS_DISABLED;
    }
    switch (control.kind) {
        case Kind::PushButton:
            return style | (control.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        case Kind::OptionButton:
            // Checks itself, so that the arrow keys move the selection; the presenter still
            // hears every click and the window then shows its state.
            return style | BS_AUTORADIOBUTTON;
        case Kind::CheckBox:
            return style | BS_CHECKBOX;  // switched by the presenter alone
        case Kind::GroupBox:
            return style | BS_GROUPBOX | WS_CLIPSIBLINGS;
        case Kind::Label:
        case Kind::Link:
            return style | SS_LEFT | SS_NOTIFY;
        case Kind::TextBox:
            return style | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
        case Kind::EditBox:
            return style | ES_AUTOHSCROLL;
        case Kind::Slider:
            return style | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS;
        case Kind::HotkeyBox:
        case Kind::Browser:
            break;
    }
    return style;
}

// The hotkey control tells its parent of a new combination with EN_CHANGE, but Wine's clears
// itself on Backspace, Delete and Space without a word. The box reports every change of its
// value after a key, so that the form holds what the box shows; a second report of the same
// value changes nothing in the form.
LRESULT CALLBACK HotkeyBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(box, &HotkeyBoxProc, 0);
    }
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) {
        return DefSubclassProc(box, message, wParam, lParam);
    }
    const LRESULT before = SendMessageW(box, HKM_GETHOTKEY, 0, 0);
    const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
    if (SendMessageW(box, HKM_GETHOTKEY, 0, 0) != before) {
        SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), EN_CHANGE),
                     reinterpret_cast<LPARAM>(box));
    }
    return result;
}

// A static text that acts as a button: a Tab stop (its style) that draws the focus rectangle and
// tells its parent of a click (STN_CLICKED, as a click on it does) on Enter and on Space.
LRESULT CALLBACK LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR) {
    switch (message) {
        case WM_NCDESTROY:
            RemoveWindowSubclass(link, &LinkProc, 0);
            break;
        case WM_GETDLGCODE: {
            // Enter comes to the link instead of pressing the dialog's default button.
            const auto* pending = reinterpret_cast<const MSG*>(lParam);
            const bool enter = pending != nullptr && pending->message == WM_KEYDOWN &&
                               pending->wParam == VK_RETURN;
            return DefSubclassProc(link, message, wParam, lParam) | (enter ? DLGC_WANTMESSAGE : 0);
        }
        case WM_KEYDOWN:
            if ((wParam == VK_RETURN || wParam == VK_SPACE) && (lParam & (1 << 30)) == 0) {
                SendMessageW(GetParent(link), WM_COMMAND,
                             MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED),
                             reinterpret_cast<LPARAM>(link));
                return 0;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(link, nullptr, TRUE);
            break;
        case WM_PAINT:
            if (GetFocus() == link) {
                const LRESULT result = DefSubclassProc(link, message, wParam, lParam);
                RECT area{};
                GetClientRect(link, &area);
                HDC dc = GetDC(link);
                DrawFocusRect(dc, &area);
                ReleaseDC(link, dc);
                return result;
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(link, message, wParam, lParam);
}

// oleacc.h declares these, but MinGW's import library does not define them.
constexpr CLSID kAccPropServices{
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kIAccPropServices{
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr MSAAPROPID kAccName{
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

// Windows names a control after the label just before it; a control that has none gets its name
// from the table through Dynamic Annotation, which screen readers read as the control's own.
void AnnotateNames(const std::vector<std::pair<HWND, std::wstring>>& names) {
    if (names.empty()) {
        return;
    }
    const ComScope com;
    ComPtr<IAccPropServices> services;
    if (FAILED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices,
                                reinterpret_cast<void**>(services.GetAddressOf())))) {
        return;  // no annotations on this system: the controls keep their labels' names
    }
    for (const auto& [window, name] : names) {
        services->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kAccName,
                                 name.c_str());
    }
}

}  // namespace

UniqueIcon LoadProgramIcon(int size) {
    const HINSTANCE program = GetModuleHandleW(nullptr);
    LPWSTR name = nullptr;
    EnumResourceNamesW(program, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, TakeFirstIconGroup,
                       reinterpret_cast<LONG_PTR>(&name));
    if (name == nullptr) {
        return nullptr;
    }
    return UniqueIcon(
        static_cast<HICON>(LoadImageW(program, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

bool DialogWindow::CreateModeless(HINSTANCE instance, HWND owner, DWORD style, DWORD exStyle) {
    const EmptyDialogTemplate dialog(style, exStyle);
    CreateDialogIndirectParamW(instance, dialog.get(), owner, DialogProc,
                               reinterpret_cast<LPARAM>(this));
    return window_ != nullptr;
}

void DialogWindow::RunModal(HINSTANCE instance, HWND owner, DWORD style, DWORD exStyle) {
    const EmptyDialogTemplate dialog(style, exStyle);
    DialogBoxIndirectParamW(instance, dialog.get(), owner, DialogProc,
                            reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<DialogWindow*>(lParam)->window_ = dialog;
    }
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    const INT_PTR result = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        self->window_ = nullptr;
        self->OnDestroyed();
    }
    return result;
}

void SetClientSizeAt(HWND window, int width, int height, int dpi, int left, int top) {
    // AdjustWindowRectExForDpi exists from Windows 10 1607 on; before it, one DPI for all.
    using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = reinterpret_cast<AdjustForDpiFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT outer{0, 0, width, height};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    if (adjustForDpi == nullptr || !adjustForDpi(&outer, style, FALSE, exStyle, dpi)) {
        AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    }
    const int outerWidth = outer.right - outer.left;
    const int outerHeight = outer.bottom - outer.top;
    SetWindowPos(window, nullptr, left, top, outerWidth, outerHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // A frame drawn at another scale than the one asked for (a system that scales no frames)
    // leaves the client area off by the difference: corrected by what it came to.
    RECT client{};
    GetClientRect(window, &client);
    const int missingWidth = width - client.right;
    const int missingHeight = height - client.bottom;
    if (missingWidth != 0 || missingHeight != 0) {
        SetWindowPos(window, nullptr, 0, 0, outerWidth + missingWidth, outerHeight + missingHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FormControls::Create(HWND dialog, const form::Form& form) {
    form_ = &form;
    SetWindowSubclass(dialog, &DpiChangedProc, 0, reinterpret_cast<DWORD_PTR>(this));
    SetWindowTextW(dialog, Utf8ToWide(std::string(form.caption)).c_str());
    const int dpi = WindowDpi(dialog);
    font_.reset(CreateChineseFont(dpi, form.fontPoints));
    bigIcon_ = LoadProgramIcon(GetSystemMetrics(SM_CXICON));
    smallIcon_ = LoadProgramIcon(GetSystemMetrics(SM_CXSMICON));
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    SetClientSizeCentred(dialog, form::TwipsToPixels(form.clientWidth, dpi),
                         form::TwipsToPixels(form.clientHeight, dpi));

    toolTip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, nullptr, nullptr);
    if (toolTip_ != nullptr) {
        SendMessageW(toolTip_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(320, dpi, 96));
    }

    const form::Control* previous = nullptr;
    HWND focus = nullptr;
    std::vector<std::pair<HWND, std::wstring>> names;
    for (const form::Control* control : form::CreationOrder(form)) {
        const form::PixelRect r = form::ToPixels(control->rect, dpi);
        const bool sunken = control->kind == Kind::TextBox || control->kind == Kind::EditBox ||
                            control->kind == Kind::HotkeyBox;
        HWND child = CreateWindowExW(
            sunken ? WS_EX_CLIENTEDGE : 0, WindowClassOf(control->kind),
            Utf8ToWide(std::string(control->caption)).c_str(),
            WS_CHILD | WS_VISIBLE | StyleOf(*control, previous), r.left, r.top, r.width, r.height,
            dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control->id)), nullptr, nullptr);
        previous = control;
        if (child == nullptr) {
            continue;
        }
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        if (control->kind == Kind::Slider) {
            SendMessageW(child, TBM_SETRANGEMIN, FALSE, control->minimum);
            SendMessageW(child, TBM_SETRANGEMAX, FALSE, control->maximum);
            SendMessageW(child, TBM_SETTICFREQ,
                         std::max(1, (control->maximum - control->minimum) / 10), 0);
            SendMessageW(child, TBM_SETPAGESIZE, 0,
                         std::max(1, (control->maximum - control->minimum) / 10));
        }
        if (control->kind == Kind::HotkeyBox) {
            // A key alone or with Shift alone is typing: the box adds Ctrl+Alt to it.
            SendMessageW(child, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                         MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
            SetWindowSubclass(child, &HotkeyBoxProc, 0, 0);
        }
        if (control->kind == Kind::Link) {
            SetWindowSubclass(child, &LinkProc, 0, 0);
        }
        if (!control->toolTip.empty()) {
            AddToolTip(dialog, child, control->toolTip);
        }
        if (!control->accessibleName.empty()) {
            names.emplace_back(child, Utf8ToWide(std::string(control->accessibleName)));
        }
        if (focus == nullptr && form::TakesFocus(control->kind) && control->enabled) {
            focus = child;
        }
        controls_.emplace_back(control, child);
    }
    AnnotateNames(names);
    if (focus != nullptr) {
        SetFocus(focus);
    }
}

void FormControls::ApplyDpi(HWND dialog, int dpi, int left, int top) {
    if (form_ == nullptr) {
        return;
    }
    UniqueFont font(CreateChineseFont(dpi, form_->fontPoints));
    for (const auto& [control, child] : controls_) {
        const form::PixelRect r = form::ToPixels(control->rect, dpi);
        SetWindowPos(child, nullptr, r.left, r.top, r.width, r.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    if (toolTip_ != nullptr) {
        SendMessageW(toolTip_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(320, dpi, 96));
    }
    font_ = std::move(font);  // the old font outlives its last user
    SetClientSizeAt(dialog, form::TwipsToPixels(form_->clientWidth, dpi),
                    form::TwipsToPixels(form_->clientHeight, dpi), dpi, left, top);
    InvalidateRect(dialog, nullptr, TRUE);
}

LRESULT CALLBACK FormControls::DpiChangedProc(HWND dialog, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    if (message == WM_DPICHANGED) {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        reinterpret_cast<FormControls*>(self)->ApplyDpi(dialog, HIWORD(wParam), suggested->left,
                                                        suggested->top);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(dialog, &DpiChangedProc, 0);
    }
    return DefSubclassProc(dialog, message, wParam, lParam);
}

HWND FormControls::Control(int id) const {
    for (const auto& [control, window] : controls_) {
        if (control->id == id) {
            return window;
        }
    }
    return nullptr;
}

void FormControls::SetEnabled(HWND dialog, int id, bool enabled) const {
    HWND window = Control(id);
    if (window == nullptr) {
        return;
    }
    // A disabled window keeps no focus and Windows gives it to none: the default button takes it
    // first, so that Tab, Enter and Esc keep working.
    if (!enabled && GetFocus() == window) {
        for (const auto& [control, child] : controls_) {
            if (control->isDefault && child != window && IsWindowEnabled(child)) {
                SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(child), TRUE);
                break;
            }
        }
    }
    EnableWindow(window, enabled ? TRUE : FALSE);
}

HBRUSH FormControls::StaticColours(HDC dc, HWND window) const {
    for (const auto& [control, child] : controls_) {
        if (child == window && control->textColour) {
            const form::Rgb c = *control->textColour;
            SetTextColor(dc, RGB(c.red, c.green, c.blue));
            SetBkMode(dc, TRANSPARENT);
            return GetSysColorBrush(COLOR_BTNFACE);
        }
    }
    return nullptr;
}

bool FormControls::SetCursorFor(HWND window) const {
    for (const auto& [control, child] : controls_) {
        if (child == window && control->cursor == form::Cursor::Hand) {
            SetCursor(LoadCursorA(nullptr, IDC_HAND));
            return true;
        }
    }
    return false;
}

void FormControls::Clear() {
    form_ = nullptr;
    controls_.clear();
    toolTip_ = nullptr;  // destroyed with its owner
}

void FormControls::AddToolTip(HWND dialog, HWND control, std::string_view utf8Text) {
    if (toolTip_ == nullptr) {
        return;
    }
    std::wstring text = Utf8ToWide(std::string(utf8Text));
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the common controls
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace horalia::win32
