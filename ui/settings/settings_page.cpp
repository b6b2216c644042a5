#include "ui/settings/settings_page.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "config/hotkey.h"

namespace horalia {
namespace {

constexpr int kFirstSettingId = 2000;  // + 10 x the row's place in the table + the part
constexpr int kPartsPerSetting = 10;

constexpr char kBadHotkey[] =
    "报时热键要有 Ctrl、Alt 或 Win 再加一个字母、数字或 F1 到 F24 的键，例如 Ctrl+Alt+Shift+T。";

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
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

// "HH:MM-HH:MM,HH:MM-HH:MM" as the boxes of a time list: start and end of each period.
std::vector<std::string> TimesOf(std::string_view text) {
    std::vector<std::string> times;
    while (!text.empty()) {
        const std::string_view period = text.substr(0, text.find(','));
        const std::size_t dash = period.find('-');
        times.emplace_back(period.substr(0, dash));
        times.emplace_back(dash == std::string_view::npos ? "" : period.substr(dash + 1));
        text.remove_prefix(std::min(text.size(), period.size() + 1));
    }
    return times;
}

std::optional<int> DecimalOf(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The text the file would keep for a valid field.
std::string FileText(const SettingRow& row, const FieldState& state) {
    if (row.control.kind != ControlKind::kTimeList) {
        return state.value;
    }
    std::string text;
    for (std::size_t box = 0; state.value == "1" && box + 1 < state.times.size(); box += 2) {
        const auto start = ParseTimeOfDay(WithAsciiColons(state.times[box]));
        const auto end = ParseTimeOfDay(WithAsciiColons(state.times[box + 1]));
        text += (text.empty() ? "" : ",") + FormatQuietPeriod({start.value_or(0), end.value_or(0)});
    }
    return text;
}

// Why a box of a time list cannot be applied, or nothing. Boxes come in pairs: start, end.
std::optional<std::string> TimeProblem(const SettingRow& row, const FieldState& state,
                                       int& invalidBox) {
    const std::vector<std::string> examples = TimesOf(row.control.suggestion);
    const std::string key = row.key;
    for (std::size_t box = 0; state.value == "1" && box + 1 < state.times.size(); box += 2) {
        const auto start = ParseTimeOfDay(WithAsciiColons(state.times[box]));
        const auto end = ParseTimeOfDay(WithAsciiColons(state.times[box + 1]));
        invalidBox = static_cast<int>(start ? box + 1 : box);
        if (!start || !end) {
            return key + (start ? "的结束时间无效" : "的开始时间无效") +
                   "。请按“时:分”填写，例如 " + examples.at(start ? 1 : 0) + "。";
        }
        if (*start == *end) {
            return key + "的开始时间和结束时间相同。请填写两个不同的时间。";
        }
    }
    return std::nullopt;
}

}  // namespace

int SettingControlId(std::string_view key, int part) {
    const auto& rows = SettingsTable();
    const auto found = std::find_if(rows.begin(), rows.end(),
                                    [&](const SettingRow& row) { return row.key == key; });
    return kFirstSettingId + kPartsPerSetting * static_cast<int>(found - rows.begin()) + part;
}

SettingsPagePresenter::SettingsPagePresenter(SettingsPage page,
                                             const SettingsPageServices& services,
                                             MainFormCallbacks& mainForm, SettingsPageView& view)
    : services_(services), mainForm_(mainForm), view_(view), page_(page) {
    for (const SettingRow& row : SettingsTable()) {
        if (row.page == page && row.control.kind != ControlKind::kNone) {
            fields_.push_back(Slot{&row, {}});
        }
    }
}

void SettingsPagePresenter::LoadDialog() {
    mainForm_.RefreshSettings();
    ShowRecord();
    SetApplyEnabled(false);
}

void SettingsPagePresenter::ShowState() {
    for (const Slot& field : fields_) {
        view_.ShowField(*field.row, field.state);
    }
    view_.ShowApplyEnabled(applyEnabled_);
}

bool SettingsPagePresenter::ApplySettings() {
    if (!Validate()) {
        return false;
    }
    SettingsRecord& record = services_.settings;
    const SettingsRecord before = record;
    for (const Slot& field : fields_) {
        field.row->read(FileText(*field.row, field.state), record);
    }
    // The values hold for this run whether or not the file takes them.
    const bool saved = SaveSettings(services_.config, before, record, page_);
    ShowRecord();  // as applied: times as HH:MM, texts without blanks around them
    SetApplyEnabled(false);
    if (!saved) {
        mainForm_.SettingsNotSaved();
    }
    Applied();
    return true;
}

void SettingsPagePresenter::SetValue(std::string_view key, const std::string& value) {
    Slot* field = Find(key);
    if (field == nullptr) {
        return;
    }
    const SettingControl& control = field->row->control;
    FieldState state = field->state;
    state.value = value;
    switch (control.kind) {
        case ControlKind::kCheck:
            if (value != control.ticked && value != control.cleared) {
                return;
            }
            break;
        case ControlKind::kOptions: {
            const auto index = DecimalOf(value);
            if (!index || *index < 0 || *index >= static_cast<int>(control.choices.size())) {
                return;
            }
            break;
        }
        case ControlKind::kNumber: {
            const auto number = DecimalOf(value);
            if (!number) {
                return;
            }
            state.value = std::to_string(std::clamp(*number, control.minimum, control.maximum));
            break;
        }
        case ControlKind::kTimeList:
            if (value != "1" && value != "0") {
                return;
            }
            state.enabled = value == "1";
            break;
        default:
            break;
    }
    Change(*field, state);
}

void SettingsPagePresenter::Toggle(std::string_view key) {
    const Slot* field = Find(key);
    if (field == nullptr) {
        return;
    }
    const SettingControl& control = field->row->control;
    if (control.kind == ControlKind::kCheck) {
        SetValue(key, field->state.value == control.ticked ? control.cleared : control.ticked);
    } else if (control.kind == ControlKind::kTimeList) {
        SetValue(key, field->state.value == "1" ? "0" : "1");
    }
}

void SettingsPagePresenter::SetTime(std::string_view key, std::size_t box,
                                    const std::string& text) {
    Slot* field = Find(key);
    if (field != nullptr && box < field->state.times.size()) {
        FieldState state = field->state;
        state.times[box] = text;
        Change(*field, state);
    }
}

void SettingsPagePresenter::FolderChosen(std::string_view key, const std::string& folder) {
    SetValue(key, folder);
}

void SettingsPagePresenter::Click(int id) {
    switch (id) {
        case kOkControlId:
            return Command_确定_Click();
        case kCancelControlId:
            return Command_取消_Click();
        case kApplyControlId:
            return Command_应用_Click();
        case kAdvancedLabelId:
            return view_.ShowAdvancedPage();
        default:
            break;
    }
    int part = 0;
    const Slot* field = FindById(id, part);
    if (field == nullptr) {
        return;
    }
    const SettingRow& row = *field->row;
    switch (row.control.kind) {
        case ControlKind::kCheck:
        case ControlKind::kTimeList:
            return part == 0 ? Toggle(row.key) : void();
        case ControlKind::kOptions:
            return SetValue(row.key, std::to_string(part));
        case ControlKind::kFolder:
            return part == kBrowsePart ? view_.ChooseFolder(row, Trimmed(field->state.value))
                                       : void();
        default:
            return;
    }
}

void SettingsPagePresenter::Edit(int id, const std::string& text) {
    int part = 0;
    const Slot* field = FindById(id, part);
    if (field == nullptr) {
        return;
    }
    if (field->row->control.kind == ControlKind::kTimeList && part > 0) {
        SetTime(field->row->key, static_cast<std::size_t>(part - 1), text);
    } else if (part == 0) {
        SetValue(field->row->key, text);
    }
}

void SettingsPagePresenter::Command_应用_Click() {
    ApplySettings();
}

void SettingsPagePresenter::Command_确定_Click() {
    if (ApplySettings()) {
        Command_取消_Click();
    }
}

void SettingsPagePresenter::Command_取消_Click() {
    view_.HideWindow();
    view_.UnloadWindow();
}

const FieldState& SettingsPagePresenter::Field(std::string_view key) const {
    static const FieldState kNone;
    const auto found = std::find_if(fields_.begin(), fields_.end(),
                                    [&](const auto& field) { return field.row->key == key; });
    return found == fields_.end() ? kNone : found->state;
}

void SettingsPagePresenter::ShowValue(std::string_view key, const std::string& value) {
    if (Slot* field = Find(key)) {
        FieldState state = field->state;
        state.value = value;
        Show(*field, state);
    }
}

void SettingsPagePresenter::ShowNote(std::string_view key, const std::string& note) {
    if (Slot* field = Find(key)) {
        FieldState state = field->state;
        state.note = note;
        Show(*field, state);
    }
}

SettingsPagePresenter::Slot* SettingsPagePresenter::Find(std::string_view key) {
    const auto found = std::find_if(fields_.begin(), fields_.end(),
                                    [&](const auto& field) { return field.row->key == key; });
    return found == fields_.end() ? nullptr : &*found;
}

SettingsPagePresenter::Slot* SettingsPagePresenter::FindById(int id, int& part) {
    for (Slot& field : fields_) {
        const int first = SettingControlId(field.row->key);
        if (id >= first && id < first + kPartsPerSetting) {
            part = id - first;
            return &field;
        }
    }
    return nullptr;
}

void SettingsPagePresenter::Show(Slot& field, FieldState state) {
    if (field.state != state) {
        field.state = std::move(state);
        view_.ShowField(*field.row, field.state);
    }
}

void SettingsPagePresenter::Change(Slot& field, FieldState state) {
    if (field.state == state) {
        return;
    }
    Show(field, std::move(state));
    FieldChanged(*field.row);
    SetApplyEnabled(true);
}

// Every field as the record holds it. An empty time list keeps what its boxes hold, or offers the
// row's suggestion, so that switching it on starts from something sensible.
void SettingsPagePresenter::ShowRecord() {
    for (Slot& field : fields_) {
        const SettingRow& row = *field.row;
        FieldState state = field.state;
        state.value = row.write(services_.settings);
        if (row.control.kind == ControlKind::kTimeList) {
            const bool on = !state.value.empty();
            if (on) {
                state.times = TimesOf(state.value);
            } else if (state.times.empty()) {
                state.times = TimesOf(row.control.suggestion);
            }
            state.value = on ? "1" : "0";
            state.enabled = on;
        }
        Show(field, state);
    }
}

// The first box that cannot be applied is shown invalid, once, and the person is told why.
bool SettingsPagePresenter::Validate() {
    for (Slot& field : fields_) {
        const SettingRow& row = *field.row;
        int invalidBox = 0;
        std::optional<std::string> problem;
        if (row.control.kind == ControlKind::kTimeList) {
            problem = TimeProblem(row, field.state, invalidBox);
        } else if (row.control.kind == ControlKind::kHotkey) {
            const std::string text = Trimmed(field.state.value);
            if (!text.empty() && !ParseHotkey(text)) {
                problem = kBadHotkey;
            }
        } else if (row.control.kind == ControlKind::kText) {
            problem = TextProblem(row, Trimmed(field.state.value));
        }
        if (problem) {
            FieldState state = field.state;
            state.invalidBox = invalidBox;
            Show(field, state);
            field.state.invalidBox = -1;
            view_.ShowMessage(*problem);
            return false;
        }
    }
    return true;
}

void SettingsPagePresenter::SetApplyEnabled(bool enabled) {
    if (applyEnabled_ != enabled) {
        applyEnabled_ = enabled;
        view_.ShowApplyEnabled(enabled);
    }
}

}  // namespace horalia
