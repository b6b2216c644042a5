// The Win32 window of frmAbout: a modal dialog.
#pragma once

#include <windows.h>

#include <optional>

#include "common/form/win32/form_window.h"
#include "common/win32/handles.h"
#include "ui/extras/about_box.h"

namespace horalia::win32 {

class AboutWindow final : public DialogWindow {
  public:
    AboutWindow(HINSTANCE instance, HWND owner, UrlOpener& opener);
    ~AboutWindow() override;

    // Loads and shows the box; returns when it is closed. Nothing when it is open already.
    void ShowModal();
    void Unload();

  private:
    static LRESULT CALLBACK LinkProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyed() override;
    void CreateControls(int dpi);
    void DestroyControls();
    HWND Label(const std::string& text, const TwipsRect& at, bool sizedToText, HFONT font);
    void KeepLeftOf(HWND label, int right);
    void PaintSeparator();

    HINSTANCE instance_;
    HWND owner_;
    UrlOpener& opener_;
    std::optional<frmAbout> form_;
    HWND link_ = nullptr;
    UniqueFont font_;
    UniqueFont linkFont_;
    UniqueIcon picture_;
    UniqueIcon smallIcon_;
    int dpi_ = 96;
};

}  // namespace horalia::win32
