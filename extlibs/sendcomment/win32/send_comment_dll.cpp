// SendComment.dll: ShowComment shows the modal feedback window and returns when it closes.
// "发送" hands a mailto: link to the user's mail program; if none opens, the window stays open
// with the typed text and says where to write instead.
#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include <string>

#include "common/vendor_addresses.h"
#include "common/win32/ansi_text.h"
#include "extlibs/sendcomment/feedback_mail.h"
#include "extlibs/sendcomment/win32/dialog_template.h"

namespace {

using horalia::feedback::ControlClass;
using horalia::win32::Utf8ToWide;
using horalia::win32::WideToUtf8;

constexpr WORD kCommentEditId = 100;
constexpr WORD kPromptLabelId = 101;

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
    const std::wstring text = L"无法打开邮件程序。请把您的意见直接发到 " +
                              Utf8ToWide(horalia::kVendorMailAddress) + L"。";
    MessageBoxW(dialog, text.c_str(), L"Horalia", MB_OK | MB_ICONWARNING);
}

INT_PTR CALLBACK FeedbackDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SendDlgItemMessageW(dialog, kCommentEditId, EM_SETLIMITTEXT,
                                horalia::feedback::kMaxCommentLength, 0);
            SetFocus(GetDlgItem(dialog, kCommentEditId));
            return FALSE;  // focus set here
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                const auto* state =
                    reinterpret_cast<const FeedbackState*>(GetWindowLongPtrW(dialog, DWLP_USER));
                if (SendComment(dialog, *state))
                    EndDialog(dialog, IDOK);
                else
                    ShowMailFailed(dialog);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

// 270 x 170 dialog units: a prompt, the comment box, and the two buttons at the bottom right.
horalia::feedback::DialogTemplate FeedbackTemplate(const std::wstring& caption) {
    constexpr DWORD kDialogStyle =
        DS_MODALFRAME | DS_CENTER | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    horalia::feedback::DialogTemplate dialog(caption, kDialogStyle, 270, 170, 9, L"MS Shell Dlg");
    dialog.Add(
        {ControlClass::kStatic, L"请写下您的意见或建议：", kPromptLabelId, SS_LEFT, 7, 7, 256, 10});
    dialog.Add({ControlClass::kEdit, L"", kCommentEditId,
                WS_BORDER | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                7, 20, 256, 122});
    dialog.Add(
        {ControlClass::kButton, L"发送", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 159, 149, 50, 14});
    dialog.Add(
        {ControlClass::kButton, L"取消", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 213, 149, 50, 14});
    return dialog;
}

HMODULE ThisModule() {
    HMODULE self = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&kModuleAnchor), &self);
    return self;
}

void RunFeedbackDialog(const char* ansiText) {
    FeedbackState state{horalia::win32::AnsiToUtf8(ansiText ? ansiText : "")};
    const std::wstring caption = Utf8ToWide(horalia::feedback::FeedbackCaption(state.subject));
    const horalia::feedback::DialogTemplate dialog = FeedbackTemplate(caption);
    // ShellExecute may hand the link to a COM server; the caller's thread may already have COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    DialogBoxIndirectParamW(ThisModule(), dialog.get(), nullptr, FeedbackDialogProc,
                            reinterpret_cast<LPARAM>(&state));
    if (SUCCEEDED(com))
        CoUninitialize();
}

}  // namespace

extern "C" void __stdcall ShowComment(const char* ansiText) {
    try {
        RunFeedbackDialog(ansiText);
    } catch (...) {
        // Out of memory: the window is simply not shown.
    }
}
