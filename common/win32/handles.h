// Owning handles: each Win32 object the program creates is released by its owner's destructor.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace horalia::win32 {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct MenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct RegKeyDeleter {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
struct KernelHandleDeleter {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};

using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;
using UniquePen = std::unique_ptr<std::remove_pointer_t<HPEN>, GdiObjectDeleter>;
using UniqueRegKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegKeyDeleter>;
// For kernel objects such as events; HANDLE is void*, hence no remove_pointer.
using UniqueKernelHandle = std::unique_ptr<void, KernelHandleDeleter>;

}  // namespace horalia::win32
