#include "ui/settings/win32/advanced_window.h"

#include <commctrl.h>
#include <shlobj.h>

#include <string>

#include "common/win32/ansi_text.h"
#include "common/win32/com.h"
#include "ui/settings/settings_form.h"

namespace horalia::win32 {
namespace {

// The picker opens on the folder given as its data.
int CALLBACK SelectStartFolder(HWND picker, UINT message, LPARAM, LPARAM folder) {
    if (message == BFFM_INITIALIZED && folder != 0) {
        SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, folder);
    }
    return 0;
}

}  // namespace

AdvancedWindow::AdvancedWindow(HINSTANCE instance, const AdvancedDialogServices& services)
    : instance_(instance), services_(services) {}

AdvancedWindow::~AdvancedWindow() {
    Unload();
}

void AdvancedWindow::Show(HWND owner, MainFormCallbacks& mainForm) {
    if (Handle() == nullptr) {
        owner_ = owner;
        presenter_.emplace(services_, mainForm, *this);
        if (!CreateModeless(instance_, owner, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                            WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT)) {
            return;
        }
        EnableWindow(owner_, FALSE);
    }
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(Handle());
}

void AdvancedWindow::Unload() {
    if (Handle() != nullptr) {
        // Before the window goes, so that the owner is activated in its place.
        EnableOwner();
        DestroyWindow(Handle());
        if (closed) {
            closed();
        }
    }
}

void AdvancedWindow::ShowMessage(const std::string& message) {
    ShowWarning(Handle(), "高级设置", message);
}

void AdvancedWindow::ChooseFolder(const SettingRow& row, const std::string& current) {
    HWND window = Handle();
    const std::wstring start = Utf8ToWide(current);
    const std::wstring title = Utf8ToWide("选择语音目录：其中的语音文件名与程序自带的相同");
    BROWSEINFOW info{};
    info.hwndOwner = window;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = SelectStartFolder;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    wchar_t path[MAX_PATH] = {};
    bool picked = false;
    {
        // The picker's newer look needs COM on this thread.
        const win32::ComScope com;
        PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
        picked = chosen != nullptr && SHGetPathFromIDListW(chosen, path);
        CoTaskMemFree(chosen);
    }
    if (picked && Handle() == window && window != nullptr) {
        presenter_->FolderChosen(row.key, WideToUtf8(path));
    }
}

INT_PTR AdvancedWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        EnableOwner();  // also when the owner goes first and takes this window with it
    }
    return OnPageMessage(AdvancedForm(), *presenter_, message, wParam, lParam);
}

void AdvancedWindow::EnableOwner() {
    if (owner_ != nullptr && IsWindow(owner_)) {
        EnableWindow(owner_, TRUE);
    }
}

}  // namespace horalia::win32
