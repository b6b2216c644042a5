// The Win32 side of forms as data: a dialog base class that routes its messages to a member
// function, and the builder that makes a form's controls from its table.
#pragma once

#include <windows.h>

#include <string_view>
#include <utility>
#include <vector>

#include "common/form/form.h"
#include "common/win32/handles.h"
#include "common/win32/window.h"

namespace horalia::win32 {

// The program's own icon at the given size (its first icon group), or nullptr.
UniqueIcon LoadProgramIcon(int size);

// A dialog made from an empty template; every message goes to OnMessage. The handle is known
// from WM_INITDIALOG on and cleared after WM_NCDESTROY.
class DialogWindow {
  public:
    DialogWindow() = default;
    virtual ~DialogWindow() = default;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    HWND Handle() const { return window_; }

  protected:
    // Modeless: returns once WM_INITDIALOG has run; false when the window was not made.
    bool CreateModeless(HINSTANCE instance, HWND owner, DWORD style, DWORD exStyle);
    // Modal: returns when the dialog ends.
    void RunModal(HINSTANCE instance, HWND owner, DWORD style, DWORD exStyle);
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The window is gone: release what belongs to it.
    virtual void OnDestroyed() {}

  private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

// The outer size of a window whose client area is width x height at dpi, placed at left, top.
void SetClientSizeAt(HWND window, int width, int height, int dpi, int left, int top);

// A form's controls in a dialog: created from the table with the form's font, tooltips and the
// program's icon; answers the colour and cursor messages the table asks for. When the dialog
// moves to a screen of another scale (WM_DPICHANGED), every control is laid out again from the
// table's twips at the new DPI, with a font made for it.
class FormControls {
  public:
    // Creates the controls and sizes the dialog to the form's client area, centred.
    void Create(HWND dialog, const form::Form& form);
    // Lays the controls and the dialog out again at dpi, the dialog's top-left corner at left, top.
    void ApplyDpi(HWND dialog, int dpi, int left, int top);
    HWND Control(int id) const;
    // Enables or disables a control; one disabled while it has the focus (应用 after its click)
    // first hands the focus to the default button.
    void SetEnabled(HWND dialog, int id, bool enabled) const;
    // WM_CTLCOLORSTATIC: the table's text colour, or nullptr for the dialog's defaults.
    HBRUSH StaticColours(HDC dc, HWND control) const;
    // WM_SETCURSOR: sets the table's cursor for the control under the mouse; true when it did.
    bool SetCursorFor(HWND control) const;
    // The dialog is being destroyed: forget its controls.
    void Clear();

  private:
    static LRESULT CALLBACK DpiChangedProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR self);
    void AddToolTip(HWND dialog, HWND control, std::string_view utf8Text);

    const form::Form* form_ = nullptr;
    std::vector<std::pair<const form::Control*, HWND>> controls_;
    UniqueFont font_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    HWND toolTip_ = nullptr;
};

}  // namespace horalia::win32
