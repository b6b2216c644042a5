// The Win32 side of forms as data: window and dialog base classes that route their messages to a
// member function, and the builder that makes a form's controls from its table.
#pragma once

#include <windows.h>

#include <string_view>
#include <utility>
#include <vector>

#include "common/form/form.h"
#include "common/win32/handles.h"

namespace horalia::win32 {

// The program's own icon at the given size (its first icon group), or nullptr.
UniqueIcon LoadProgramIcon(int size);

// A window of a class whose procedure is this class's: every message goes to HandleMessage. The
// handle is known from WM_NCCREATE on and cleared after WM_NCDESTROY. A derived class destroys
// its window itself; one left over gets only the default handling once the object is gone.
class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return window_; }

  protected:
    // Registers the class with this class's procedure; true also when it is registered already.
    static bool RegisterWindowClass(WNDCLASSEXW windowClass);
    // CreateWindowExW with this object as the window's; false when the window was not made.
    bool CreateHandle(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                      int x, int y, int width, int height, HWND owner, HINSTANCE instance);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // What the system does with a message the window leaves alone.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) const {
        return DefWindowProcW(window_, message, wParam, lParam);
    }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

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

// A form's controls in a dialog: created from the table with the form's font, tooltips and the
// program's icon; answers the colour and cursor messages the table asks for.
class FormControls {
  public:
    // Creates the controls and sizes the dialog to the form's client area, centred.
    void Create(HWND dialog, const form::Form& form);
    HWND Control(int id) const;
    // WM_CTLCOLORSTATIC: the table's text colour, or nullptr for the dialog's defaults.
    HBRUSH StaticColours(HDC dc, HWND control) const;
    // WM_SETCURSOR: sets the table's cursor for the control under the mouse; true when it did.
    bool SetCursorFor(HWND control) const;
    // The dialog is being destroyed: forget its controls.
    void Clear();

  private:
    void AddToolTip(HWND dialog, HWND control, std::string_view utf8Text);

    std::vector<std::pair<const form::Control*, HWND>> controls_;
    UniqueFont font_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    HWND toolTip_ = nullptr;
};

}  // namespace horalia::win32
