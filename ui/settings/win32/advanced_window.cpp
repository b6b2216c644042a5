#include "ui/settings/win32/advanced_window.h"

#include <commctrl.h>
#include <shlobj.h>

#include <string>

#include "common/form/win32/window_support.h"
#include "common/win32/ansi_text.h"
#include "common/win32/com.h"
#include "config/win32/virtual_keys.h"
#include "ui/settings/advanced_form.h"
#include "ui/settings/settings_form.h"

namespace horalia::win32 {
namespace {

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

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

void AdvancedWindow::Show(HWND owner, MainFormControls& mainForm) {
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
    }
}

void AdvancedWindow::ShowCheck(AdvancedCheck box, int state) {
    CheckDlgButton(Handle(), AdvancedCheckControlId(box), state == 1 ? BST_CHECKED : BST_UNCHECKED);
}

// Set only when it differs, so that the caret and selection stay where the person left them.
void AdvancedWindow::ShowText(AdvancedText field, const std::string& text) {
    HWND edit = controls_.Control(AdvancedTextControlId(field));
    if (field == AdvancedText::报时热键) {
        const WORD value = HotkeyControlValue(text);
        if (edit != nullptr && LOWORD(SendMessageW(edit, HKM_GETHOTKEY, 0, 0)) != value) {
            SendMessageW(edit, HKM_SETHOTKEY, value, 0);
        }
        return;
    }
    const std::wstring wide = Utf8ToWide(text);
    if (edit != nullptr && WindowText(edit) != wide) {
        SetWindowTextW(edit, wide.c_str());
    }
}

void AdvancedWindow::ShowVolume(int volume) {
    SendMessageW(controls_.Control(kVolumeSliderId), TBM_SETPOS, TRUE, volume);
    SetWindowTextW(controls_.Control(kVolumeValueId), Utf8ToWide(VolumeText(volume)).c_str());
}

void AdvancedWindow::ShowHalfHourOption(int index) {
    for (int i = 0; i < kHalfHourOptionCount; ++i) {
        CheckDlgButton(Handle(), HalfHourOptionControlId(i),
                       i == index ? BST_CHECKED : BST_UNCHECKED);
    }
}

void AdvancedWindow::ShowHotkeyNote(const std::string& text) {
    SetWindowTextW(controls_.Control(kHotkeyNoteId), Utf8ToWide(text).c_str());
}

void AdvancedWindow::ShowQuietTimesEnabled(bool enabled) {
    for (AdvancedText field : {AdvancedText::免打扰开始, AdvancedText::免打扰结束}) {
        EnableWindow(controls_.Control(AdvancedTextControlId(field)), enabled ? TRUE : FALSE);
    }
}

void AdvancedWindow::ShowApplyEnabled(bool enabled) {
    EnableWindow(controls_.Control(kApplyControlId), enabled ? TRUE : FALSE);
}

void AdvancedWindow::ShowInvalidInput(AdvancedText field, const std::string& message) {
    HWND window = Handle();
    MessageBoxW(window, Utf8ToWide(message).c_str(), Utf8ToWide("高级设置").c_str(),
                MB_OK | MB_ICONWARNING);
    // The page may have been closed under the box (the program's exit).
    if (Handle() == window && window != nullptr) {
        HWND edit = controls_.Control(AdvancedTextControlId(field));
        SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
        SendMessageW(edit, EM_SETSEL, 0, -1);
    }
}

void AdvancedWindow::ChooseFolder(const std::string& current) {
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
        presenter_->FolderChosen(WideToUtf8(path));
    }
}

void AdvancedWindow::HideWindow() {
    ShowWindow(Handle(), SW_HIDE);
}

void AdvancedWindow::UnloadWindow() {
    Unload();
}

INT_PTR AdvancedWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            controls_.Create(Handle(), AdvancedForm());
            presenter_->LoadDialog();
            presenter_->ShowState();
            RegisterModelessDialog(Handle());
            return FALSE;  // the focus was set on the first box already
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (HIWORD(wParam) == EN_CHANGE &&
                id == AdvancedTextControlId(AdvancedText::报时热键)) {
                const LRESULT value =
                    SendMessageW(reinterpret_cast<HWND>(lParam), HKM_GETHOTKEY, 0, 0);
                EditAdvancedControl(*presenter_, id, HotkeyControlText(LOWORD(value)));
            } else if (HIWORD(wParam) == EN_CHANGE) {
                const std::wstring text = WindowText(reinterpret_cast<HWND>(lParam));
                EditAdvancedControl(*presenter_, id, WideToUtf8(text));
            } else if (HIWORD(wParam) == BN_CLICKED) {
                ClickAdvancedControl(*presenter_, id);
            }
            return TRUE;
        }
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) == controls_.Control(kVolumeSliderId)) {
                presenter_->SetVolume(static_cast<int>(
                    SendMessageW(reinterpret_cast<HWND>(lParam), TBM_GETPOS, 0, 0)));
            }
            return TRUE;
        case WM_CLOSE:  // the close box: unload without applying
            Unload();
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<INT_PTR>(controls_.StaticColours(
                reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        case WM_DESTROY:
            // Also when the owner goes first and takes this window with it.
            EnableOwner();
            UnregisterModelessDialog(Handle());
            return TRUE;
        default:
            return FALSE;
    }
}

void AdvancedWindow::OnDestroyed() {
    controls_.Clear();
}

void AdvancedWindow::EnableOwner() {
    if (owner_ != nullptr && IsWindow(owner_)) {
        EnableWindow(owner_, TRUE);
    }
}

}  // namespace horalia::win32
