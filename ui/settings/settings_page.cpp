#include "ui/settings/settings_page.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "config/hotkey.h"
#include "config/quiet_periods.h"

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

std::optional<int> DecimalOf(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The text the file would keep for a valid field: a time list's periods as the file writes
// them, or nothing while it is switched off.
std::string FileText(const SettingRow& row, const FieldState& state) {
    if (row.control.kind != ControlKind::kTimeList) {
        return state.value;
    }
    return state.value == "1" ? FormatQuietPeriods(ReadQuietPeriods(state.periods).periods) : "";
}

// Why a field cannot be applied, or nothing.
std::optional<std::string> Problem(const SettingRow& row, const FieldState& state) {
    const SettingControl& control = row.control;
    switch (control.kind) {
        case ControlKind::kTimeList: {
            if (state.value != "1") {
                return std::nullopt;
            }
            if (Trimmed(state.periods).empty()) {
                return std::string(control.caption) + "是空的。请按“时:分-时:分”填写，例如 " +
                       control.suggestion + "；不要免打扰就取消勾选。";
            }
            QuietPeriodsReading reading = ReadQuietPeriods(state.periods);
            return reading.Ok() ? std::nullopt : std::optional(std::move(reading.problem));
        }
        case ControlKind::kHotkey: {
            const std::string text = Trimmed(state.value);
            return text.empty() || ParseHotkey(text) ? std::nullopt
                                                     : std::optional<std::string>(kBadHotkey);
        }
        case ControlKind::kText:
            return control.accepts == nullptr || control.accepts(state.value)
                       ? std::nullopt
                       : std::optional<std::string>(control.refusal);
        default:
            return std::nullopt;
    }
}

}  // namespace

int SettingControlId(std::string_view key, int part) {
    const auto& rows = SettingsTable();
    const auto found = std::find_if(rows.begin(), rows.end(),
                                    [&](const SettingRow& row) { return row.key == key; });
    return kFirstSettingId + kPartsPerSetting * static_cast<int>(found - rows.begin()) + part;
}

std::string OptionValue(const SettingControl& control, std::size_t index) {
    return index < control.values.size() ? control.values[index] : std::to_string(index);
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
    ShowWhatIsInForce();
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
            bool offered = false;
            for (std::size_t i = 0; i < control.choices.size(); ++i) {
                offered = offered || OptionValue(control, i) == value;
            }
            if (!offered) {
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

void SettingsPagePresenter::SetPeriods(std::string_view key, const std::string& text) {
    Slot* field = Find(key);
    if (field != nullptr && field->row->control.kind == ControlKind::kTimeList) {
        FieldState state = field->state;
        state.periods = text;
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
            return SetValue(row.key, OptionValue(row.control, static_cast<std::size_t>(part)));
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
    if (field->row->control.kind == ControlKind::kTimeList && part == kPeriodsPart) {
        SetPeriods(field->row->key, text);
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

void SettingsPagePresenter::ShowEnabled(std::string_view key, bool enabled) {
    if (Slot* field = Find(key)) {
        FieldState state = field->state;
        state.enabled = enabled;
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
    ShowWhatIsInForce();
    SetApplyEnabled(true);
}

// Every field as the record holds it. An empty time list keeps what its box holds, or offers the
// row's suggestion, so that switching it on starts from something sensible.
void SettingsPagePresenter::ShowRecord() {
    for (Slot& field : fields_) {
        const SettingRow& row = *field.row;
        FieldState state = field.state;
        state.value = row.write(services_.settings);
        if (row.control.kind == ControlKind::kTimeList) {
            const bool on = !state.value.empty();
            if (on) {
                state.periods = state.value;
            } else if (state.periods.empty()) {
                state.periods = row.control.suggestion;
            }
            state.value = on ? "1" : "0";
            state.enabled = on;
        }
        Show(field, state);
    }
    ShowWhatIsInForce();
}

// The first box that cannot be applied is shown invalid, once, and the person is told why.
bool SettingsPagePresenter::Validate() {
    for (Slot& field : fields_) {
        std::optional<std::string> problem = Problem(*field.row, field.state);
        if (!problem && field.row->control.kind == ControlKind::kText) {
            problem = TextProblem(*field.row, Trimmed(field.state.value));
        }
        if (problem) {
            FieldState state = field.state;
            state.invalidBox = 0;
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
