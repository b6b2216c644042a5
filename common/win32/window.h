// A window whose messages go to a member function of the object that made it.
#pragma once

#include <windows.h>

namespace horalia::win32 {

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

}  // namespace horalia::win32
