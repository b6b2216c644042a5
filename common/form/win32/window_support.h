// What the Win32 windows share: twips at the window's DPI, fonts with Chinese glyphs, child
// controls from UTF-8 captions, and the keyboard of modeless dialogs.
#pragma once

#include <windows.h>

#include <string>

namespace horalia::win32 {

// Dots per inch of the window (the system's before Windows 10).
int WindowDpi(HWND window);
// The same rounding as the form tables (form::TwipsToPixels).
int TwipsToPixels(int twips, int dpi);

// A UI font of the given size that shows Chinese: the first installed of the faces the Chinese
// editions of Windows ship. The caller deletes it.
HFONT CreateChineseFont(int dpi, double points, bool underline = false);
// The named face exactly (for example SimSun for a link), Chinese character set.
HFONT CreateNamedFont(int dpi, double points, const wchar_t* face, bool underline);

// A child control at a rectangle given in twips, with the font set.
HWND CreateControl(HWND parent, const wchar_t* windowClass, const std::string& utf8Text,
                   DWORD style, int id, int left, int top, int width, int height, int dpi,
                   HFONT font);

// Sizes the window so that its client area is width x height pixels, centred on the screen.
void SetClientSizeCentred(HWND window, int width, int height);

// The text's size in pixels when drawn with the window's font.
SIZE TextExtent(HWND control, const std::wstring& text);

// Modeless dialogs get Tab, Enter and Esc although the message loop is not theirs: a message
// hook hands their keyboard messages to IsDialogMessage.
void RegisterModelessDialog(HWND dialog);
void UnregisterModelessDialog(HWND dialog);

// An empty dialog template; the caller creates the controls in WM_INITDIALOG.
struct EmptyDialogTemplate {
    explicit EmptyDialogTemplate(DWORD style, DWORD exStyle = 0);
    const DLGTEMPLATE* get() const { return &words.header; }

  private:
    struct alignas(4) Words {
        DLGTEMPLATE header;
        WORD menu, windowClass, title;
    } words;
};

}  // namespace horalia::win32
