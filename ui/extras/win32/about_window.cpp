#include "ui/extras/win32/about_window.h"

#include <commctrl.h>

#include <algorithm>

#include "common/win32/ansi_text.h"
#include "common/form/win32/window_support.h"

namespace horalia::win32 {
namespace {

constexpr double kFontPoints = 8.25;
constexpr double kLinkPoints = 9;
constexpr int kLinkId = 1006;

BOOL CALLBACK TakeFirstIconGroup(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
    *reinterpret_cast<LPWSTR*>(found) = name;
    return FALSE;
}

// The program's icon at 48 x 48: its first icon group, whatever the resource script numbers it.
HICON LoadProgramIcon(HINSTANCE instance, int size) {
    LPWSTR name = nullptr;
    EnumResourceNamesW(instance, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, TakeFirstIconGroup,
                       reinterpret_cast<LONG_PTR>(&name));
    if (name == nullptr) {
        return nullptr;
    }
    return static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// Mouse buttons held, as the link label's handler takes them.
int ButtonState(WPARAM keys) {
    int state = 0;
    if (keys & MK_LBUTTON) {
        state |= kLeftButton;
    }
    if (keys & MK_RBUTTON) {
        state |= kRightButton;
    }
    if (keys & MK_MBUTTON) {
        state |= kMiddleButton;
    }
    // A side button held makes the state other than the left button alone.
    if (keys & (MK_XBUTTON1 | MK_XBUTTON2)) {
        state |= 8;
    }
    return state;
}

}  // namespace

AboutWindow::AboutWindow(HINSTANCE instance, HWND owner, UrlOpener& opener)
    : instance_(instance), owner_(owner), opener_(opener) {}

AboutWindow::~AboutWindow() {
    Unload();
}

void AboutWindow::ShowModal() {
    if (window_ != nullptr) {
        SetForegroundWindow(window_);
        return;
    }
    form_.emplace(opener_);
    const EmptyDialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                     WS_EX_DLGMODALFRAME);
    DialogBoxIndirectParamW(instance_, dialog.get(), owner_, DialogProc,
                            reinterpret_cast<LPARAM>(this));
}

void AboutWindow::Unload() {
    if (window_ != nullptr) {
        EndDialog(window_, IDOK);
    }
}

INT_PTR CALLBACK AboutWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<AboutWindow*>(lParam)->window_ = dialog;
    }
    auto* self = reinterpret_cast<AboutWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self != nullptr ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR AboutWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            form_->Form_Load();
            CreateControls();
            return FALSE;
        case WM_COMMAND:
            // cmdOK is both the default and the cancel button: Enter and Esc close the box.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(window_, IDOK);
            }
            return TRUE;
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc,
                         reinterpret_cast<HWND>(lParam) == link_ ? RGB(0, 0, 255) : RGB(0, 0, 0));
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == link_) {
                SetCursor(LoadCursorA(nullptr, IDC_HAND));
                SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        case WM_PAINT:
            PaintSeparator();
            return TRUE;
        case WM_NCDESTROY:
            if (link_ != nullptr) {
                RemoveWindowSubclass(link_, LinkProc, 0);
            }
            SetWindowLongPtrW(window_, DWLP_USER, 0);
            window_ = nullptr;
            link_ = nullptr;
            DeleteObject(font_);
            DeleteObject(linkFont_);
            if (icon_ != nullptr) {
                DestroyIcon(icon_);
            }
            font_ = linkFont_ = nullptr;
            icon_ = nullptr;
            return TRUE;
        default:
            return FALSE;
    }
}

void AboutWindow::CreateControls() {
    const AboutBoxLayout& layout = frmAbout::Layout();
    const AboutTexts& texts = form_->Texts();
    dpi_ = WindowDpi(window_);
    font_ = CreateChineseFont(dpi_, kFontPoints);
    linkFont_ = CreateNamedFont(dpi_, kLinkPoints, L"SimSun", true);
    SetWindowTextW(window_, Utf8ToWide(texts.caption).c_str());
    SetClientSizeCentred(window_, TwipsToPixels(layout.clientWidth, dpi_),
                         TwipsToPixels(layout.clientHeight, dpi_));

    const TwipsRect& ok = layout.cmdOK;
    HWND okButton =
        CreateControl(window_, WC_BUTTONW, texts.okCaption, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK,
                      ok.left, ok.top, ok.width, ok.height, dpi_, font_);
    const TwipsRect& pic = layout.picIcon;
    HWND picture = CreateControl(window_, WC_STATICW, "", SS_ICON | SS_CENTERIMAGE, -1, pic.left,
                                 pic.top, pic.width, pic.height, dpi_, nullptr);
    icon_ = LoadProgramIcon(instance_, TwipsToPixels(pic.width, dpi_));
    if (icon_ != nullptr) {
        SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
        SetWindowPos(picture, nullptr, TwipsToPixels(pic.left, dpi_), TwipsToPixels(pic.top, dpi_),
                     TwipsToPixels(pic.width, dpi_), TwipsToPixels(pic.height, dpi_),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Label(texts.description, layout.lblDescription, false, font_);
    Label(texts.disclaimer, layout.lblDisclaimer, true, font_);
    Label(texts.title, layout.lblTitle, true, font_);
    Label(texts.version, layout.lblVersion, true, font_);
    link_ = Label(texts.link, layout.Label_链接官方网站, true, linkFont_);
    KeepLeftOf(link_, TwipsToPixels(ok.left, dpi_));
    SetWindowLongPtrW(link_, GWLP_ID, kLinkId);
    SetWindowLongPtrW(link_, GWL_STYLE, GetWindowLongPtrW(link_, GWL_STYLE) | SS_NOTIFY);
    SetWindowSubclass(link_, LinkProc, 0, reinterpret_cast<DWORD_PTR>(this));
    SetFocus(okButton);
}

// A label at its design place; a label sized to its text grows or shrinks to fit it.
HWND AboutWindow::Label(const std::string& text, const TwipsRect& at, bool sizedToText,
                        HFONT font) {
    HWND label = CreateControl(window_, WC_STATICW, text, SS_LEFT | SS_NOPREFIX, -1, at.left,
                               at.top, at.width, at.height, dpi_, font);
    if (sizedToText) {
        const SIZE size = TextExtent(label, Utf8ToWide(text));
        SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return label;
}

// A label sized to a long text would run under the button beside it.
void AboutWindow::KeepLeftOf(HWND label, int right) {
    RECT r{};
    GetWindowRect(label, &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    const int gap = MulDiv(4, dpi_, 96);
    if (r.right > right - gap) {
        SetWindowPos(label, nullptr, 0, 0, std::max(0, right - gap - static_cast<int>(r.left)),
                     r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void AboutWindow::PaintSeparator() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    for (const TwipsLine& line : frmAbout::Layout().Line1) {
        const int width = MulDiv(line.widthPixels, dpi_, 96);
        HPEN pen = CreatePen(PS_INSIDEFRAME, width, RGB(line.red, line.green, line.blue));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, TwipsToPixels(line.x1, dpi_), TwipsToPixels(line.y1, dpi_), nullptr);
        LineTo(dc, TwipsToPixels(line.x2, dpi_), TwipsToPixels(line.y2, dpi_));
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    EndPaint(window_, &paint);
}

LRESULT CALLBACK AboutWindow::LinkProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self) {
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) {
        reinterpret_cast<AboutWindow*>(self)->form_->Label_链接官方网站_MouseDown(
            ButtonState(wParam));
    }
    return DefSubclassProc(label, message, wParam, lParam);
}

}  // namespace horalia::win32
