#include "ui/settings/win32/settings_window.h"

#include <commctrl.h>

#include "common/win32/ansi_text.h"
#include "ui/settings/win32/window_support.h"

namespace horalia::win32 {
namespace {

// Client area, in twips; the dialog's font is 8.25 pt.
constexpr int kClientWidth = 5730;
constexpr int kClientHeight = 3060;
constexpr double kFontPoints = 8.25;

constexpr int kApplyId = 1003;
constexpr int kFirstOptionId = 1100;  // + 10 x group + index
constexpr int kFirstCheckId = 1200;   // + box
constexpr int kFirstGroupBoxId = 1300;
constexpr int kLabelId = 1400;

int OptionId(OptionGroup group, int index) {
    return kFirstOptionId + 10 * static_cast<int>(group) + index;
}
int CheckId(CheckBox box) {
    return kFirstCheckId + static_cast<int>(box);
}

struct GroupLayout {
    OptionGroup group;
    int left, top;  // of the group box; its buttons are placed relative to it
    int buttonLeft;
    const char* captions[3];
};

constexpr GroupLayout kGroups[] = {
    {OptionGroup::报时设置, 30, 30, 255, {"整点报时", "两时报时", "六时报时"}},
    {OptionGroup::格式设置, 2880, 30, 255, {"仅报时间", "报年月日", "播放全部"}},
    {OptionGroup::广告设置, 30, 1260, 210, {"开启显示一次", "一天显示一次", nullptr}},
};
constexpr int kButtonTops[2][3] = {{240, 570, 900}, {330, 660, 990}};

struct CheckLayout {
    CheckBox box;
    int top;  // inside GroupBox_高级设置
    const char* caption;
    const char* toolTip;
};

constexpr int kAdvancedLeft = 2880;
constexpr int kAdvancedTop = 1260;
constexpr CheckLayout kChecks[] = {
    {CheckBox::关闭报时, 330, "关闭报时", nullptr},
    {CheckBox::开机启动, 660, "开机启动",
     "开机自动启动程序，不需要可以不开启，开启会被杀毒软件拦截允许即可"},
    {CheckBox::自动校时, 990, "自动网络校时", "用于自己电脑时间不准的用户，进行每小时最懂校准时间"},
};

}  // namespace

SettingsWindow::SettingsWindow(HINSTANCE instance, HWND owner,
                               const SettingsDialogServices& services)
    : instance_(instance), owner_(owner), services_(services) {}

SettingsWindow::~SettingsWindow() {
    Unload();
}

void SettingsWindow::Show() {
    if (window_ == nullptr) {
        presenter_.emplace(services_, *this);
        const EmptyDialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                         WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT);
        CreateDialogIndirectParamW(instance_, dialog.get(), owner_, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
        if (window_ == nullptr) {
            return;
        }
    }
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
}

void SettingsWindow::Unload() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

void SettingsWindow::ShowOption(OptionGroup group, int selectedIndex) {
    for (int i = 0; i < OptionCount(group); ++i) {
        CheckDlgButton(window_, OptionId(group, i),
                       i == selectedIndex ? BST_CHECKED : BST_UNCHECKED);
    }
}

void SettingsWindow::ShowCheck(CheckBox box, int state) {
    CheckDlgButton(window_, CheckId(box), state == 1 ? BST_CHECKED : BST_UNCHECKED);
}

void SettingsWindow::ShowApplyEnabled(bool enabled) {
    EnableWindow(GetDlgItem(window_, kApplyId), enabled ? TRUE : FALSE);
}

void SettingsWindow::HideWindow() {
    ShowWindow(window_, SW_HIDE);
}

void SettingsWindow::UnloadWindow() {
    Unload();
}

INT_PTR CALLBACK SettingsWindow::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* self = reinterpret_cast<SettingsWindow*>(lParam);
        self->window_ = dialog;
    }
    auto* self = reinterpret_cast<SettingsWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self != nullptr ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR SettingsWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            CreateControls();
            presenter_->LoadDialog();
            ShowAll();
            RegisterModelessDialog(window_);
            return FALSE;  // the focus was set on 确定 already
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                OnCommand(LOWORD(wParam));
            }
            return TRUE;
        case WM_CLOSE:  // the close box: unload without applying
            Unload();
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<INT_PTR>(
                LabelColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == label_) {
                SetCursor(LoadCursorA(nullptr, IDC_HAND));
                SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            UnregisterModelessDialog(window_);
            return TRUE;
        case WM_NCDESTROY:
            SetWindowLongPtrW(window_, DWLP_USER, 0);
            window_ = nullptr;
            toolTip_ = nullptr;
            label_ = nullptr;
            DeleteObject(font_);
            font_ = nullptr;
            return TRUE;
        default:
            return FALSE;
    }
}

void SettingsWindow::CreateControls() {
    SetWindowTextW(window_, Utf8ToWide("Horalia设置").c_str());
    const int dpi = WindowDpi(window_);
    font_ = CreateChineseFont(dpi, kFontPoints);
    SetClientSizeCentred(window_, TwipsToPixels(kClientWidth, dpi),
                         TwipsToPixels(kClientHeight, dpi));
    const auto control = [&](const wchar_t* cls, const char* text, DWORD style, int id, int left,
                             int top, int width, int height) {
        return CreateControl(window_, cls, text, style, id, left, top, width, height, dpi, font_);
    };

    // Created in tab order; each group of buttons starts a Win32 group. The option buttons check
    // themselves, so that the arrow keys move the selection as users expect; every click is
    // still reported to the presenter, whose state the window then shows. The check boxes are
    // switched by the presenter alone.
    HWND ok = control(WC_BUTTONW, "确定[&E]", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDOK, 2400,
                      2640, 990, 360);
    control(WC_BUTTONW, "取消[&C]", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 3540, 2640, 990, 360);
    control(WC_BUTTONW, "应用[&A]", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, kApplyId, 4680, 2640,
            990, 360);
    for (const GroupLayout& g : kGroups) {
        const int* tops = kButtonTops[g.group == OptionGroup::广告设置 ? 1 : 0];
        for (int i = 0; i < OptionCount(g.group); ++i) {
            const DWORD first = i == 0 ? WS_GROUP | WS_TABSTOP : 0;
            control(WC_BUTTONW, g.captions[i], BS_AUTORADIOBUTTON | first, OptionId(g.group, i),
                    g.left + g.buttonLeft, g.top + tops[i], 2235, 255);
        }
    }
    HWND checks[3] = {};
    for (const CheckLayout& c : kChecks) {
        if (c.box == CheckBox::自动校时) {
            continue;  // its tab index comes last
        }
        checks[static_cast<int>(c.box)] =
            control(WC_BUTTONW, c.caption, BS_CHECKBOX | WS_TABSTOP | WS_GROUP, CheckId(c.box),
                    kAdvancedLeft + 210, kAdvancedTop + c.top, 2445, 195);
    }
    const DWORD frame = BS_GROUPBOX | WS_GROUP | WS_CLIPSIBLINGS;
    control(WC_BUTTONW, "扩展设置", frame, kFirstGroupBoxId + 3, kAdvancedLeft, kAdvancedTop, 2805,
            1305);
    control(WC_BUTTONW, "广告设置", frame, kFirstGroupBoxId + 2, 30, 1260, 2805, 1305);
    label_ =
        control(WC_STATICW, "切换到高级设置", SS_LEFT | SS_NOTIFY, kLabelId, 150, 2730, 1260, 195);
    control(WC_BUTTONW, "报时频率", frame, kFirstGroupBoxId + 0, 30, 30, 2805, 1185);
    control(WC_BUTTONW, "报时格式", frame, kFirstGroupBoxId + 1, 2880, 30, 2805, 1185);
    const CheckLayout& sync = kChecks[2];
    checks[2] = control(WC_BUTTONW, sync.caption, BS_CHECKBOX | WS_TABSTOP | WS_GROUP,
                        CheckId(sync.box), kAdvancedLeft + 210, kAdvancedTop + sync.top, 2445, 195);

    toolTip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
    if (toolTip_ != nullptr) {
        SendMessageW(toolTip_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(320, dpi, 96));
        for (const CheckLayout& c : kChecks) {
            if (c.toolTip != nullptr) {
                AddToolTip(checks[static_cast<int>(c.box)], c.toolTip);
            }
        }
    }
    SetFocus(ok);
}

void SettingsWindow::AddToolTip(HWND control, const char* utf8Text) {
    std::wstring text = Utf8ToWide(utf8Text);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the common controls
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void SettingsWindow::OnCommand(int id) {
    Form_一般设置& p = *presenter_;
    if (id == IDOK) {
        return p.Command_确定_Click();
    }
    if (id == IDCANCEL) {
        return p.Command_取消_Click();
    }
    if (id == kApplyId) {
        return p.Command_应用_Click();
    }
    if (id >= kFirstCheckId && id < kFirstCheckId + 3) {
        return p.ToggleCheck(static_cast<CheckBox>(id - kFirstCheckId));
    }
    if (id >= kFirstOptionId && id < kFirstOptionId + 30) {
        const int offset = id - kFirstOptionId;
        p.SelectOption(static_cast<OptionGroup>(offset / 10), offset % 10);
    }
}

// The window shows the presenter's whole state once, after the load.
void SettingsWindow::ShowAll() {
    for (OptionGroup g : {OptionGroup::报时设置, OptionGroup::格式设置, OptionGroup::广告设置}) {
        ShowOption(g, presenter_->SelectedOption(g));
    }
    for (CheckBox b : {CheckBox::关闭报时, CheckBox::开机启动, CheckBox::自动校时}) {
        ShowCheck(b, presenter_->Check(b));
    }
    ShowApplyEnabled(presenter_->ApplyEnabled());
}

HBRUSH SettingsWindow::LabelColours(HDC dc, HWND control) {
    if (control != label_) {
        return nullptr;  // the dialog's default colours
    }
    SetTextColor(dc, RGB(0, 0, 255));
    SetBkMode(dc, TRANSPARENT);
    return GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace horalia::win32
