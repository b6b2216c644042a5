#include "ui/settings/win32/page_controls.h"

#include <commctrl.h>

#include "common/form/win32/window_support.h"
#include "common/win32/ansi_text.h"
#include "config/win32/virtual_keys.h"

namespace horalia::win32 {
namespace {

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsHotkeyBox(HWND window) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return lstrcmpiW(name, HOTKEY_CLASSW) == 0;
}

// Set only when it differs, so that the caret and selection stay where the person left them.
void ShowBox(HWND dialog, HWND edit, const std::string& text, bool enabled, bool invalid) {
    if (edit == nullptr) {
        return;
    }
    const std::wstring wide = Utf8ToWide(text);
    if (WindowText(edit) != wide) {
        SetWindowTextW(edit, wide.c_str());
    }
    EnableWindow(edit, enabled ? TRUE : FALSE);
    if (invalid) {
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
        SendMessageW(edit, EM_SETSEL, 0, -1);
    }
}

void Check(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

}  // namespace

void ShowFieldIn(const FormControls& controls, HWND dialog, const SettingRow& row,
                 const FieldState& state) {
    const SettingControl& control = row.control;
    const auto id = [&](int part) { return SettingControlId(row.key, part); };
    switch (control.kind) {
        case ControlKind::kCheck:
            Check(dialog, id(0), state.value == control.ticked);
            break;
        case ControlKind::kOptions:
            for (std::size_t i = 0; i < control.choices.size(); ++i) {
                Check(dialog, id(static_cast<int>(i)), state.value == OptionValue(control, i));
                EnableWindow(controls.Control(id(static_cast<int>(i))),
                             state.enabled ? TRUE : FALSE);
            }
            EnableWindow(controls.Control(id(kCaptionPart)), state.enabled ? TRUE : FALSE);
            break;
        case ControlKind::kNumber:
            SendMessageW(controls.Control(id(0)), TBM_SETPOS, TRUE, std::atoi(state.value.c_str()));
            SetWindowTextW(controls.Control(id(kValueLabelPart)),
                           Utf8ToWide(state.value + control.unit).c_str());
            break;
        case ControlKind::kTimeList:
            Check(dialog, id(0), state.value == "1");
            ShowBox(dialog, controls.Control(id(kPeriodsPart)), state.periods, state.enabled,
                    state.invalidBox == 0);
            break;
        case ControlKind::kHotkey: {
            HWND box = controls.Control(id(0));
            const WORD value = HotkeyControlValue(state.value);
            if (box != nullptr && LOWORD(SendMessageW(box, HKM_GETHOTKEY, 0, 0)) != value) {
                SendMessageW(box, HKM_SETHOTKEY, value, 0);
            }
            SetWindowTextW(controls.Control(id(kNotePart)), Utf8ToWide(state.note).c_str());
            break;
        }
        case ControlKind::kText:
        case ControlKind::kFolder:
            ShowBox(dialog, controls.Control(id(0)), state.value, state.enabled,
                    state.invalidBox == 0);
            break;
        case ControlKind::kNone:
            break;
    }
}

void ShowWarning(HWND dialog, const std::string& title, const std::string& message) {
    HWND focus = GetFocus();
    MessageBoxW(dialog, Utf8ToWide(message).c_str(), Utf8ToWide(title).c_str(),
                MB_OK | MB_ICONWARNING);
    // The page may have been closed under the box (the program's exit).
    if (IsWindow(dialog) && focus != nullptr && IsWindow(focus)) {
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
        SendMessageW(focus, EM_SETSEL, 0, -1);
    }
}

void ForwardCommand(SettingsPagePresenter& presenter, WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    if (HIWORD(wParam) == EN_CHANGE && IsHotkeyBox(control)) {
        const LRESULT value = SendMessageW(control, HKM_GETHOTKEY, 0, 0);
        presenter.Edit(id, HotkeyControlText(LOWORD(value)));
    } else if (HIWORD(wParam) == EN_CHANGE) {
        presenter.Edit(id, WideToUtf8(WindowText(control)));
    } else if (HIWORD(wParam) == BN_CLICKED) {
        presenter.Click(id);
    }
}

void ForwardScroll(SettingsPagePresenter& presenter, LPARAM lParam) {
    HWND slider = reinterpret_cast<HWND>(lParam);
    if (slider != nullptr) {
        presenter.Edit(GetDlgCtrlID(slider),
                       std::to_string(SendMessageW(slider, TBM_GETPOS, 0, 0)));
    }
}

void PageWindow::ShowField(const SettingRow& row, const FieldState& state) {
    ShowFieldIn(controls_, Handle(), row, state);
}

void PageWindow::ShowApplyEnabled(bool enabled) {
    controls_.SetEnabled(Handle(), kApplyControlId, enabled);
}

void PageWindow::HideWindow() {
    ShowWindow(Handle(), SW_HIDE);
}

INT_PTR PageWindow::OnPageMessage(const form::Form& form, SettingsPagePresenter& presenter,
                                  UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            controls_.Create(Handle(), form);
            presenter.LoadDialog();
            presenter.ShowState();
            RegisterModelessDialog(Handle());
            return FALSE;  // the form has set the focus already
        case WM_COMMAND:
            ForwardCommand(presenter, wParam, lParam);
            return TRUE;
        case WM_HSCROLL:
            ForwardScroll(presenter, lParam);
            return TRUE;
        case WM_CLOSE:  // the close box: unload without applying
            Unload();
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<INT_PTR>(controls_.StaticColours(
                reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        case WM_SETCURSOR:
            if (controls_.SetCursorFor(reinterpret_cast<HWND>(wParam))) {
                SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            UnregisterModelessDialog(Handle());
            return TRUE;
        default:
            return FALSE;
    }
}

void PageWindow::OnDestroyed() {
    controls_.Clear();
}

}  // namespace horalia::win32
