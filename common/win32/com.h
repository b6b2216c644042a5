// COM held by its owners: interface pointers released by ComPtr, COM on a thread for the length
// of a scope, and BSTRs freed with the object that holds them.
#pragma once

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>
#include <wrl/client.h>

#include <string>

namespace horalia::win32 {

using Microsoft::WRL::ComPtr;

// COM on the calling thread from construction to destruction. A thread that already has COM in
// another apartment keeps it, and this scope then leaves it alone.
class ComScope {
  public:
    explicit ComScope(DWORD model = COINIT_APARTMENTTHREADED)
        : result_(CoInitializeEx(nullptr, model)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    HRESULT result_;
};

// A BSTR owned by this object: made from a text to pass in, or received through Out().
class Bstr {
  public:
    Bstr() = default;
    explicit Bstr(const std::wstring& text) : text_(SysAllocStringLen(text.data(), Length(text))) {}
    ~Bstr() { SysFreeString(text_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    operator BSTR() const { return text_; }
    // For a call that hands out a new BSTR; what was held before is freed.
    BSTR* Out() {
        SysFreeString(text_);
        text_ = nullptr;
        return &text_;
    }
    std::wstring Text() const {
        return text_ != nullptr ? std::wstring(text_, SysStringLen(text_)) : std::wstring();
    }

  private:
    static UINT Length(const std::wstring& text) { return static_cast<UINT>(text.size()); }
    BSTR text_ = nullptr;
};

}  // namespace horalia::win32
