// SendComment.dll: ShowComment shows the modal feedback window and returns when it closes.
// "发送" hands a mailto: link to the user's mail program; if none opens, the window stays open
// with the typed text and says where to write instead.
#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include <string>

#include "common/form/win32/form_window.h"
#include "common/vendor_addresses.h"
#include "common/win32/ansi_text.h"
#include "common/win32/com.h"
#include "extlibs/sendcomment/feedback_form.h"
#include "extlibs/sendcomment/feedback_mail.h"

namespace {

using horalia::win32::Utf8ToWide;
using horalia::win32::WideToUtf8;

constexpr int kCommentEditId = horalia::feedback::kCommentBoxId;

// Any object inside this DLL names it for GetModuleHandleExW.
constexpr char kModuleAnchor = 0;

struct FeedbackState {
    std::string subject;  // UTF-8
};

std::wstring CommentText(HWND dialog) {
    const HWND edit = GetDlgItem(dialog, kCommentEditId);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

// True when the mail program took the message.
bool SendComment(HWND dialog, const FeedbackState& state) {
    const std::string link = horalia::feedback::FeedbackMailto(
        horalia::kVendorMailAddress, state.subject, WideToUtf8(CommentText(dialog)));
    const HINSTANCE result =
        ShellExecuteW(dialog, L"open", Utf8ToWide(link).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

void ShowMailFailed(HWND dialog) {
    const std::wstring text = Utf8ToWide(std::string(horalia::feedback::kMailFailedText) +
                                         horalia::kVendorMailAddress + "。");
    MessageBoxW(dialog, text.c_str(), L"Horalia", MB_OK | MB_ICONWARNING);
}

// The window of the feedback form's table, modal to the caller's thread.
class FeedbackDialog final : public horalia::win32::DialogWindow {
  public:
    explicit FeedbackDialog(FeedbackState& state) : state_(state) {}

    void Run(HMODULE module) {
        RunModal(module, nullptr,
                 DS_MODALFRAME | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0);
    }

  private:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM) override {
        switch (message) {
            case WM_INITDIALOG:
                controls_.Create(Handle(), horalia::feedback::FeedbackForm());
                SetWindowTextW(
                    Handle(),
                    Utf8ToWide(horalia::feedback::FeedbackCaption(state_.subject)).c_str());
                SendDlgItemMessageW(Handle(), kCommentEditId, EM_SETLIMITTEXT,
                                    horalia::feedback::kMaxCommentLength, 0);
                return FALSE;  // the builder put the focus on the comment box
            case WM_COMMAND:
                if (LOWORD(wParam) == IDOK) {
                    if (SendComment(Handle(), state_))
                        EndDialog(Handle(), IDOK);
                    else
                        ShowMailFailed(Handle());
                    return TRUE;
                }
                if (LOWORD(wParam) == IDCANCEL) {
                    EndDialog(Handle(), IDCANCEL);
                    return TRUE;
                }
                return FALSE;
            default:
                return FALSE;
        }
    }
    void OnDestroyed() override { controls_.Clear(); }

    FeedbackState& state_;
    horalia::win32::FormControls controls_;
};

HMODULE ThisModule() {
    HMODULE self = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&kModuleAnchor), &self);
    return self;
}

void RunFeedbackDialog(const char* ansiText) {
    FeedbackState state{horalia::win32::AnsiToUtf8(ansiText ? ansiText : "")};
    // ShellExecute may hand the link to a COM server; the caller's thread may already have COM.
    const horalia::win32::ComScope com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    FeedbackDialog(state).Run(ThisModule());
}

}  // namespace

extern "C" void __stdcall ShowComment(const char* ansiText) {
    try {
        RunFeedbackDialog(ansiText);
    } catch (...) {
        // Out of memory: the window is simply not shown.
    }
}
