#include "ui/extras/win32/about_window.h"

#include <commctrl.h>

#include <algorithm>

#include "common/form/win32/window_support.h"
#include "common/win32/ansi_text.h"

namespace horalia::win32 {
namespace {

constexpr double kFontPoints = 8.25;
constexpr double kLinkPoints = 9;
constexpr int kLinkId = 1006;

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
    if (Handle() != nullptr) {
        SetForegroundWindow(Handle());
        return;
    }
    form_.emplace(opener_);
    RunModal(instance_, owner_, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
             WS_EX_DLGMODALFRAME);
}

void AboutWindow::Unload() {
    if (Handle() != nullptr) {
        EndDialog(Handle(), IDOK);
    }
}

INT_PTR AboutWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            form_->Form_Load();
            CreateControls(WindowDpi(Handle()));
            return FALSE;
        case WM_DPICHANGED: {
            // Moved to a screen of another scale: made again from the layout's twips.
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            DestroyControls();
            CreateControls(HIWORD(wParam));
            const AboutBoxLayout& layout = frmAbout::Layout();
            SetClientSizeAt(Handle(), TwipsToPixels(layout.clientWidth, dpi_),
                            TwipsToPixels(layout.clientHeight, dpi_), dpi_, suggested->left,
                            suggested->top);
            InvalidateRect(Handle(), nullptr, TRUE);
            return TRUE;
        }
        case WM_COMMAND:
            // cmdOK is both the default and the cancel button: Enter and Esc close the box.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(Handle(), IDOK);
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
                SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        case WM_PAINT:
            PaintSeparator();
            return TRUE;
        case WM_NCDESTROY:
            DestroyControls();
            return TRUE;
        default:
            return FALSE;
    }
}

void AboutWindow::OnDestroyed() {
    link_ = nullptr;
    font_.reset();
    linkFont_.reset();
    picture_.reset();
    smallIcon_.reset();
}

void AboutWindow::DestroyControls() {
    if (link_ != nullptr) {
        RemoveWindowSubclass(link_, LinkProc, 0);
        link_ = nullptr;
    }
    while (HWND child = GetWindow(Handle(), GW_CHILD)) {
        DestroyWindow(child);
    }
}

void AboutWindow::CreateControls(int dpi) {
    const AboutBoxLayout& layout = frmAbout::Layout();
    const AboutTexts& texts = form_->Texts();
    dpi_ = dpi;
    font_.reset(CreateChineseFont(dpi_, kFontPoints));
    linkFont_.reset(CreateNamedFont(dpi_, kLinkPoints, L"SimSun", true));
    SetWindowTextW(Handle(), Utf8ToWide(texts.caption).c_str());
    smallIcon_ = LoadProgramIcon(GetSystemMetrics(SM_CXSMICON));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    SetClientSizeCentred(Handle(), TwipsToPixels(layout.clientWidth, dpi_),
                         TwipsToPixels(layout.clientHeight, dpi_));

    const TwipsRect& ok = layout.cmdOK;
    HWND okButton =
        CreateControl(Handle(), WC_BUTTONW, texts.okCaption, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK,
                      ok.left, ok.top, ok.width, ok.height, dpi_, font_.get());
    const TwipsRect& pic = layout.picIcon;
    HWND picture = CreateControl(Handle(), WC_STATICW, "", SS_ICON | SS_CENTERIMAGE, -1, pic.left,
                                 pic.top, pic.width, pic.height, dpi_, nullptr);
    picture_ = LoadProgramIcon(TwipsToPixels(pic.width, dpi_));
    if (picture_ != nullptr) {
        SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(picture_.get()), 0);
        SetWindowPos(picture, nullptr, TwipsToPixels(pic.left, dpi_), TwipsToPixels(pic.top, dpi_),
                     TwipsToPixels(pic.width, dpi_), TwipsToPixels(pic.height, dpi_),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Label(texts.description, layout.lblDescription, false, font_.get());
    Label(texts.disclaimer, layout.lblDisclaimer, true, font_.get());
    Label(texts.title, layout.lblTitle, true, font_.get());
    Label(texts.version, layout.lblVersion, true, font_.get());
    link_ = Label(texts.link, layout.Label_链接官方网站, true, linkFont_.get());
    KeepLeftOf(link_, TwipsToPixels(ok.left, dpi_));
    SetWindowLongPtrW(link_, GWLP_ID, kLinkId);
    SetWindowLongPtrW(link_, GWL_STYLE, GetWindowLongPtrW(link_, GWL_STYLE) | SS_NOTIFY);
    SetWindowSubclass(link_, LinkProc, 0, reinterpret_cast<DWORD_PTR>(this));
    SetFocus(okButton);
}

// A label at its design place; a label sized to its text grows or shrinks to fit it.
HWND AboutWindow::Label(const std::string& text, const TwipsRect& at, bool sizedToText,
                        HFONT font) {
    HWND label = CreateControl(Handle(), WC_STATICW, text, SS_LEFT | SS_NOPREFIX, -1, at.left,
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
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    const int gap = MulDiv(4, dpi_, 96);
    if (r.right > right - gap) {
        SetWindowPos(label, nullptr, 0, 0, std::max(0, right - gap - static_cast<int>(r.left)),
                     r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void AboutWindow::PaintSeparator() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    for (const TwipsLine& line : frmAbout::Layout().Line1) {
        const int width = MulDiv(line.widthPixels, dpi_, 96);
        const UniquePen pen(CreatePen(PS_INSIDEFRAME, width, RGB(line.red, line.green, line.blue)));
        HGDIOBJ old = SelectObject(dc, pen.get());
        MoveToEx(dc, TwipsToPixels(line.x1, dpi_), TwipsToPixels(line.y1, dpi_), nullptr);
        LineTo(dc, TwipsToPixels(line.x2, dpi_), TwipsToPixels(line.y2, dpi_));
        SelectObject(dc, old);
    }
    EndPaint(Handle(), &paint);
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
