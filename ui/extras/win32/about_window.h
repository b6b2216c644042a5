// The Win32 window of frmAbout: a modal dialog.
#pragma once

#include <windows.h>

#include <optional>

#include "ui/extras/about_box.h"

namespace horalia::win32 {

class AboutWindow {
  public:
    AboutWindow(HINSTANCE instance, HWND owner, UrlOpener& opener);
    ~AboutWindow();
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    // Loads and shows the box; returns when it is closed. Nothing when it is open already.
    void ShowModal();
    void Unload();
    HWND Handle() const { return window_; }

  private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK LinkProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    HWND Label(const std::string& text, const TwipsRect& at, bool sizedToText, HFONT font);
    void KeepLeftOf(HWND label, int right);
    void PaintSeparator();

    HINSTANCE instance_;
    HWND owner_;
    UrlOpener& opener_;
    std::optional<frmAbout> form_;
    HWND window_ = nullptr;
    HWND link_ = nullptr;
    HFONT font_ = nullptr;
    HFONT linkFont_ = nullptr;
    HICON icon_ = nullptr;
    int dpi_ = 96;
};

}  // namespace horalia::win32
