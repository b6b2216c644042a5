#include "ui/settings/advanced_presenter.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "common/trim.h"

namespace horalia {
namespace {

std::size_t Slot(AdvancedCheck box) {
    return static_cast<std::size_t>(box);
}
std::size_t Slot(AdvancedText field) {
    return static_cast<std::size_t>(field);
}

// A Chinese input method types the full-width colon; the time means the same.
std::string WithAsciiColons(std::string_view text) {
    static constexpr std::string_view kFullWidthColon = "\xEF\xBC\x9A";  // U+FF1A
    std::string result;
    for (std::size_t at = 0; at < text.size();) {
        if (text.substr(at, kFullWidthColon.size()) == kFullWidthColon) {
            result += ':';
            at += kFullWidthColon.size();
        } else {
            result += text[at++];
        }
    }
    return result;
}

constexpr char kBadStart[] = "免打扰的开始时间无效。请按“时:分”填写，例如 22:00。";
constexpr char kBadEnd[] = "免打扰的结束时间无效。请按“时:分”填写，例如 07:00。";
constexpr char kEmptyStretch[] = "免打扰的开始时间和结束时间相同。请填写两个不同的时间。";
constexpr char kBadHotkey[] =
    "报时热键要有 Ctrl、Alt 或 Win 再加一个字母、数字或 F1 到 F24 的键，例如 Ctrl+Alt+Shift+T。";

}  // namespace

Form_高级设置::Form_高级设置(const AdvancedDialogServices& services, MainFormControls& mainForm,
                             AdvancedDialogView& view)
    : s_(services), mainForm_(mainForm), view_(view) {}

void Form_高级设置::LoadDialog() {
    mainForm_.RefreshSettings();
    const SettingsRecord& r = s_.settings;
    SetCheck(AdvancedCheck::免打扰, r.QuietTime ? 1 : 0);
    ShowAs(AdvancedText::免打扰开始,
           r.QuietTime ? FormatTimeOfDay(r.QuietTime->startMinute) : kDefaultQuietStart);
    ShowAs(AdvancedText::免打扰结束,
           r.QuietTime ? FormatTimeOfDay(r.QuietTime->endMinute) : kDefaultQuietEnd);
    SelectHalfHour(r.HalfHourChimes);
    SetCheck(AdvancedCheck::自然读法, r.NaturalReading);
    SetCheck(AdvancedCheck::勿扰检测, r.DesktopQuietCheck);
    ShowAs(AdvancedText::报时热键, r.AnnounceHotkey);
    ShowHotkeyState();
    SetVolume(r.Volume);
    ShowAs(AdvancedText::语音目录, r.VoiceFolder);
    // Last: the changes above have enabled it.
    SetApplyEnabled(false);
}

bool Form_高级设置::ApplySettings() {
    std::optional<QuietHours> quiet;
    if (QuietTimesEnabled()) {
        const auto start = ParseTimeOfDay(WithAsciiColons(Text(AdvancedText::免打扰开始)));
        const auto end = ParseTimeOfDay(WithAsciiColons(Text(AdvancedText::免打扰结束)));
        if (!start || !end || *start == *end) {
            view_.ShowInvalidInput(start ? AdvancedText::免打扰结束 : AdvancedText::免打扰开始,
                                   !start ? kBadStart
                                   : !end ? kBadEnd
                                          : kEmptyStretch);
            return false;
        }
        quiet = QuietHours{*start, *end};
    }
    const std::string hotkeyText(Trimmed(Text(AdvancedText::报时热键)));
    const std::optional<Hotkey> hotkey = ParseHotkey(hotkeyText);
    if (!hotkeyText.empty() && !hotkey) {
        view_.ShowInvalidInput(AdvancedText::报时热键, kBadHotkey);
        return false;
    }

    SettingsRecord& r = s_.settings;
    const SettingsRecord before = r;
    r.QuietTime = quiet;
    r.HalfHourChimes = halfHour_;
    r.NaturalReading = Check(AdvancedCheck::自然读法);
    r.DesktopQuietCheck = Check(AdvancedCheck::勿扰检测);
    r.AnnounceHotkey = hotkey ? FormatHotkey(*hotkey) : "";
    r.Volume = volume_;
    r.VoiceFolder = Trimmed(Text(AdvancedText::语音目录));
    const bool saved = SaveSettings(s_.config, before, r, SettingsPage::kAdvanced);

    // The boxes show what was applied: times as HH:MM, the folder without blanks around it.
    if (quiet) {
        ShowAs(AdvancedText::免打扰开始, FormatTimeOfDay(quiet->startMinute));
        ShowAs(AdvancedText::免打扰结束, FormatTimeOfDay(quiet->endMinute));
    }
    ShowAs(AdvancedText::语音目录, r.VoiceFolder);
    ShowAs(AdvancedText::报时热键, r.AnnounceHotkey);
    SetApplyEnabled(false);
    if (!saved) {
        mainForm_.SettingsNotSaved();
    }
    mainForm_.RefreshSettings();  // takes the new hotkey
    ShowHotkeyState();
    return true;
}

void Form_高级设置::SetCheck(AdvancedCheck box, int state) {
    state = state == 1 ? 1 : 0;
    if (checks_[Slot(box)] == state) {
        return;
    }
    checks_[Slot(box)] = state;
    view_.ShowCheck(box, state);
    if (box == AdvancedCheck::免打扰) {
        view_.ShowQuietTimesEnabled(state == 1);
    }
    SetApplyEnabled(true);
}

void Form_高级设置::ToggleCheck(AdvancedCheck box) {
    SetCheck(box, Check(box) == 1 ? 0 : 1);
}

void Form_高级设置::SetText(AdvancedText field, const std::string& text) {
    if (texts_[Slot(field)] != text) {
        texts_[Slot(field)] = text;
        SetApplyEnabled(true);
    }
}

void Form_高级设置::SetVolume(int volume) {
    volume = std::clamp(volume, 0, static_cast<int>(kFullVolume));
    if (volume_ != volume) {
        volume_ = volume;
        view_.ShowVolume(volume);
        SetApplyEnabled(true);
    }
}

void Form_高级设置::SelectHalfHour(int index) {
    index = (index >= 0 && index < kHalfHourOptionCount) ? index : 0;
    if (halfHour_ != index) {
        halfHour_ = index;
        view_.ShowHalfHourOption(index);
        SetApplyEnabled(true);
    }
}

void Form_高级设置::ShowHotkeyState() {
    hotkeyNote_ = HotkeyStateText(mainForm_.AnnounceHotkeyState());
    view_.ShowHotkeyNote(hotkeyNote_);
}

void Form_高级设置::FolderChosen(const std::string& folder) {
    if (Text(AdvancedText::语音目录) != folder) {
        ShowAs(AdvancedText::语音目录, folder);
        SetApplyEnabled(true);
    }
}

void Form_高级设置::Command_浏览_Click() {
    view_.ChooseFolder(std::string(Trimmed(Text(AdvancedText::语音目录))));
}

void Form_高级设置::Command_应用_Click() {
    ApplySettings();
}

void Form_高级设置::Command_确定_Click() {
    if (ApplySettings()) {
        Command_取消_Click();
    }
}

void Form_高级设置::ShowState() {
    for (AdvancedCheck box : kAdvancedChecks) {
        view_.ShowCheck(box, Check(box));
    }
    for (AdvancedText field : kAdvancedTexts) {
        view_.ShowText(field, Text(field));
    }
    view_.ShowHalfHourOption(halfHour_);
    view_.ShowHotkeyNote(hotkeyNote_);
    view_.ShowVolume(Volume());
    view_.ShowQuietTimesEnabled(QuietTimesEnabled());
    view_.ShowApplyEnabled(ApplyEnabled());
}

void Form_高级设置::Command_取消_Click() {
    view_.HideWindow();
    view_.UnloadWindow();
}

int Form_高级设置::Check(AdvancedCheck box) const {
    return checks_[Slot(box)];
}

const std::string& Form_高级设置::Text(AdvancedText field) const {
    return texts_[Slot(field)];
}

// Text set by the program rather than typed: the window is told.
void Form_高级设置::ShowAs(AdvancedText field, const std::string& text) {
    if (texts_[Slot(field)] != text) {
        texts_[Slot(field)] = text;
        view_.ShowText(field, text);
    }
}

void Form_高级设置::SetApplyEnabled(bool enabled) {
    if (applyEnabled_ != enabled) {
        applyEnabled_ = enabled;
        view_.ShowApplyEnabled(enabled);
    }
}

}  // namespace horalia
