#include "ui/settings/settings_presenter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fakes/fake_profile_backend.h"
#include "fakes/fake_start_store.h"
#include "fakes/fake_window_ports.h"
#include "ui/settings/advanced_presenter.h"
#include "ui/settings/page_layout.h"
#include "ui/settings/settings_form.h"

namespace horalia {
namespace {

constexpr char kIni[] = "D:\\Tools\\Horalia\\Value.ini";
constexpr char kCommand[] = "\"D:\\Tools\\Horalia\\Horalia.exe\"";

// Remembers the order of the keys written as well as the values.
class OrderedBackend : public fakes::FakeProfileBackend {
  public:
    bool WriteStrings(const std::string& section, const Entries& values,
                      const std::string& path) override {
        for (const auto& entry : values) {
            keys.push_back(entry.first);
        }
        return FakeProfileBackend::WriteStrings(section, values, path);
    }
    std::optional<std::string> Value(const std::string& key) const {
        const auto found = values.find({kIni, kSettingsSection, key});
        if (found == values.end()) {
            return std::nullopt;
        }
        return found->second;
    }
    std::vector<std::string> keys;
};

using fakes::FakeMainForm;

// Mirrors what a page's window would show, and logs what it was asked to do.
class FakeView : public SettingsPageView {
  public:
    void ShowField(const SettingRow& row, const FieldState& state) override {
        fields[row.key] = state;
    }
    void ShowApplyEnabled(bool enabled) override {
        applyEnabled = enabled;
        ++applyChanges;
    }
    void ShowMessage(const std::string& message) override { messages.push_back(message); }
    void ChooseFolder(const SettingRow& row, const std::string& current) override {
        log.push_back(std::string("choose ") + row.key + " " + current);
    }
    void ShowAdvancedPage() override { log.push_back("advanced"); }
    void HideWindow() override { log.push_back("hide"); }
    void UnloadWindow() override { log.push_back("unload"); }

    std::string Shown(const std::string& key) const {
        const auto found = fields.find(key);
        return found == fields.end() ? "unset" : found->second.value;
    }

    std::map<std::string, FieldState> fields;
    bool applyEnabled = false;
    int applyChanges = 0;
    std::vector<std::string> messages;
    std::vector<std::string> log;
};

class SettingsDialogTest : public ::testing::Test {
  protected:
    SettingsDialogTest() { config.SpecifyIni(kIni); }

    Form_一般设置& Open() {
        view = {};
        dialog.emplace(SettingsDialogServices{config, store, kCommand, settings}, mainForm, view);
        dialog->LoadDialog();
        return *dialog;
    }
    Form_高级设置& OpenAdvanced() {
        view = {};
        page.emplace(AdvancedDialogServices{config, settings}, mainForm, view);
        page->LoadDialog();
        return *page;
    }

    OrderedBackend backend;
    读写配置 config{backend};
    fakes::FakeStartStore store;
    SettingsRecord settings;
    FakeMainForm mainForm;
    FakeView view;
    std::optional<Form_一般设置> dialog;
    std::optional<Form_高级设置> page;
};

TEST_F(SettingsDialogTest, DefaultRecordOpensOnTheFirstButtonsAndClearBoxes) {
    Form_一般设置& d = Open();
    for (const char* key : {"报时设置", "格式设置", "广告设置", "关闭报时", "开机启动"}) {
        EXPECT_EQ(d.Value(key), "0") << key;
        EXPECT_EQ(view.Shown(key), "0") << key;
    }
    EXPECT_EQ(d.Value("自动校时"), "0");  // ticked: the synchronisation runs
    EXPECT_FALSE(d.ApplyEnabled());
    EXPECT_FALSE(view.applyEnabled);
    EXPECT_EQ(store.writes + store.removals, 0);
    EXPECT_FALSE(mainForm.startChecked.has_value());
    EXPECT_EQ(mainForm.refreshes, 1);  // the file as it is now, before it is shown
}

TEST_F(SettingsDialogTest, LoadShowsEveryValueOfTheRecord) {
    settings.AnnounceFrequency = 2;
    settings.AnnounceFormat = 1;
    settings.AdMode = 1;
    settings.AnnounceOff = 1;
    settings.AutoSyncOff = 1;
    settings.StartWithWindows = 1;
    store.entry = kCommand;
    Form_一般设置& d = Open();
    const std::map<std::string, std::string> shown = {
        {"报时设置", "2"}, {"格式设置", "1"}, {"广告设置", "1"},
        {"关闭报时", "1"}, {"开机启动", "1"}, {"自动校时", "1"},
    };
    for (const auto& [key, value] : shown) {
        EXPECT_EQ(view.Shown(key), value) << key;
    }
    EXPECT_FALSE(d.ApplyEnabled());
    // The box's action ran at load: already registered, so nothing is written.
    EXPECT_EQ(store.writes, 0);
    EXPECT_EQ(mainForm.startChecked, true);
}

TEST_F(SettingsDialogTest, LoadWithStartFlagRewritesAMissingOrStaleRunValue) {
    for (const std::optional<std::string>& before :
         {std::optional<std::string>{}, std::optional<std::string>{"\"C:\\Old\\Horalia.exe\""}}) {
        store.entry = before;
        settings.StartWithWindows = 1;
        Open();
        EXPECT_EQ(store.entry, kCommand);
        EXPECT_EQ(settings.StartWithWindows, 1);
    }
}

// Every field of both pages: a real change enables 应用, the same value or one the control
// cannot take does not.
TEST_F(SettingsDialogTest, EveryRealChangeEnablesApplyAndNothingElseDoes) {
    struct Case {
        const char* key;
        const char* value;
        bool enables;
    };
    const Case cases[] = {
        {"报时设置", "1", true},   {"格式设置", "2", true},       {"广告设置", "1", true},
        {"关闭报时", "1", true},   {"开机启动", "1", true},       {"自动校时", "1", true},
        {"免打扰", "1", true},     {"半点报时", "2", true},       {"自然读法", "1", true},
        {"勿扰检测", "1", true},   {"报时热键", "Ctrl+F5", true}, {"音量", "99", true},
        {"语音目录", "/v", true},  {"报时设置", "0", false},      {"广告设置", "2", false},
        {"报时设置", "-1", false}, {"格式设置", "3", false},      {"半点报时", "7", false},
        {"关闭报时", "2", false},  {"音量", "100", false},        {"音量", "250", false},
        {"音量", "loud", false},   {"免打扰", "0", false},        {"报时间隔", "10", true},
        {"报时间隔", "", false},   {"报时间隔", "7", false},      {"报时间隔", "1", false},
        {"报时日", "1-5", true},   {"报时日", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        const auto& rows = SettingsTable();
        const bool basic = std::find_if(rows.begin(), rows.end(), [&](const SettingRow& row) {
                               return row.key == std::string_view(c.key);
                           })->page == SettingsPage::kBasic;
        SettingsPagePresenter& p = basic ? static_cast<SettingsPagePresenter&>(Open())
                                         : static_cast<SettingsPagePresenter&>(OpenAdvanced());
        const std::string before = p.Value(c.key);
        p.SetValue(c.key, c.value);
        EXPECT_EQ(p.ApplyEnabled(), c.enables);
        EXPECT_EQ(view.applyEnabled, c.enables);
        EXPECT_EQ(p.Value(c.key) != before, c.enables);
    }
    // Typed times and the volume held within its range count too.
    OpenAdvanced().SetPeriods("免打扰", "21:00-07:00");
    EXPECT_TRUE(page->ApplyEnabled());
    OpenAdvanced().SetValue("音量", "-3");
    EXPECT_EQ(view.Shown("音量"), "0");
}

TEST_F(SettingsDialogTest, ApplyWritesTheChangedKeysAtOnceAndSwitchesTheTimers) {
    Form_一般设置& d = Open();
    d.SetValue("报时设置", "2");
    d.SetValue("格式设置", "1");
    d.SetValue("广告设置", "1");
    d.Toggle("关闭报时");
    d.Command_应用_Click();

    EXPECT_EQ(backend.keys,
              (std::vector<std::string>{"报时设置", "格式设置", "广告设置", "关闭报时"}));
    EXPECT_EQ(backend.fileWrites, 1);
    EXPECT_EQ(backend.Value("报时设置"), "2");
    EXPECT_EQ(backend.Value("关闭报时"), "1");
    EXPECT_FALSE(backend.Value("自动校时").has_value());  // unchanged
    EXPECT_EQ(settings.AnnounceFrequency, 2);
    EXPECT_EQ(settings.AnnounceFormat, 1);
    EXPECT_EQ(settings.AdMode, 1);
    EXPECT_EQ(settings.AnnounceOff, 1);
    EXPECT_EQ(mainForm.announceTimer, false);
    EXPECT_EQ(mainForm.syncTimer, true);
    // The tray's 关闭报时 mark is not the dialog's to change, nor is the start flag written.
    EXPECT_FALSE(mainForm.startChecked.has_value());
    EXPECT_FALSE(backend.Value("开机启动").has_value());
    EXPECT_FALSE(d.ApplyEnabled());
    EXPECT_TRUE(view.log.empty());  // Apply keeps the dialog open
    EXPECT_EQ(mainForm.notSaved, 0);
}

TEST_F(SettingsDialogTest, AnUnwritableFileIsReportedAndTheValuesStillApply) {
    backend.refuseWrites = true;
    Form_一般设置& d = Open();
    d.SetValue("报时设置", "1");
    d.Toggle("关闭报时");
    d.Command_确定_Click();
    EXPECT_EQ(backend.keys.size(), 2u);  // the two changed keys tried
    EXPECT_EQ(mainForm.notSaved, 1);
    EXPECT_EQ(settings.AnnounceFrequency, 1);
    EXPECT_EQ(settings.AnnounceOff, 1);
    EXPECT_EQ(mainForm.announceTimer, false);
    EXPECT_EQ(view.log, (std::vector<std::string>{"hide", "unload"}));

    Form_高级设置& p = OpenAdvanced();
    p.SetValue("音量", "20");
    p.Command_确定_Click();
    EXPECT_EQ(backend.keys.back(), "音量");
    EXPECT_EQ(mainForm.notSaved, 2);
    EXPECT_EQ(settings.Volume, 20);
    EXPECT_EQ(view.log, (std::vector<std::string>{"hide", "unload"}));
}

// The box shows whether the synchronisation runs; Value.ini keeps 自动校时=1 for off.
TEST_F(SettingsDialogTest, AutoSyncBoxIsTickedWhileTheSynchronisationRuns) {
    struct Case {
        std::int32_t stored;
        bool toggle;
        const char* saved;
        bool timer;
    };
    const Case cases[] = {
        {0, false, "0", true},
        {1, false, "1", false},
        {0, true, "1", false},
        {1, true, "0", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.stored) + (c.toggle ? " toggled" : ""));
        settings.AutoSyncOff = c.stored;
        Form_一般设置& d = Open();
        EXPECT_EQ(d.Value("自动校时"), std::to_string(c.stored));
        if (c.toggle) {
            d.Toggle("自动校时");
        }
        d.Command_确定_Click();
        // Written when it changed; the file holds it either way.
        EXPECT_EQ(backend.Value("自动校时").value_or(std::to_string(c.stored)), c.saved);
        EXPECT_EQ(settings.AutoSyncOff, std::stoi(c.saved));
        EXPECT_EQ(mainForm.syncTimer, c.timer);
    }
}

TEST_F(SettingsDialogTest, OkWithoutAChangeWritesNothingAndCloses) {
    Open().Command_确定_Click();
    EXPECT_TRUE(backend.keys.empty());
    EXPECT_EQ(backend.fileWrites, 0);
    EXPECT_EQ(view.log, (std::vector<std::string>{"hide", "unload"}));
}

TEST_F(SettingsDialogTest, CancelClosesWithoutWritingButKeepsTheStartSwitch) {
    Form_一般设置& d = Open();
    d.Toggle("开机启动");
    d.SetValue("报时设置", "1");
    d.Command_取消_Click();
    EXPECT_EQ(view.log, (std::vector<std::string>{"hide", "unload"}));
    EXPECT_TRUE(backend.keys.empty());
    EXPECT_EQ(settings.AnnounceFrequency, 0);
    EXPECT_EQ(store.entry, kCommand);
    EXPECT_EQ(settings.StartWithWindows, 1);

    Form_高级设置& p = OpenAdvanced();
    p.Toggle("自然读法");
    p.SetValue("音量", "5");
    p.Command_取消_Click();
    EXPECT_EQ(view.log, (std::vector<std::string>{"hide", "unload"}));
    EXPECT_TRUE(backend.keys.empty());
    EXPECT_EQ(settings.NaturalReading, 0);
    EXPECT_EQ(settings.Volume, 100);
}

TEST_F(SettingsDialogTest, StartBoxRegistersAndUnregistersAtOnce) {
    Form_一般设置& d = Open();
    d.Toggle("开机启动");
    EXPECT_EQ(store.entry, kCommand);
    EXPECT_EQ(settings.StartWithWindows, 1);
    EXPECT_EQ(mainForm.startChecked, true);

    d.Toggle("开机启动");
    EXPECT_FALSE(store.entry.has_value());
    EXPECT_EQ(settings.StartWithWindows, 0);
    EXPECT_EQ(mainForm.startChecked, false);

    // A failed write: the box goes back at once and the main form tells the person.
    store.writable = false;
    d.Toggle("开机启动");
    EXPECT_FALSE(store.entry.has_value());
    EXPECT_EQ(d.Value("开机启动"), "0");
    EXPECT_EQ(view.Shown("开机启动"), "0");
    EXPECT_EQ(settings.StartWithWindows, 0);
    EXPECT_EQ(mainForm.startChecked, false);
    EXPECT_EQ(mainForm.startNotChanged, 1);
}

// Values that have no button (格式设置=3, the chime alone; 广告设置=2, never): the group shows
// none selected, and applying keeps the value instead of replacing it by whatever button happened
// to be set.
TEST_F(SettingsDialogTest, ValuesWithoutAButtonShowNoneAndSurviveApply) {
    settings.AnnounceFormat = 3;
    settings.AdMode = 2;
    Form_一般设置& d = Open();
    EXPECT_EQ(view.Shown("格式设置"), "3");
    EXPECT_EQ(view.Shown("广告设置"), "2");
    EXPECT_FALSE(d.ApplyEnabled());

    d.Command_应用_Click();
    EXPECT_TRUE(backend.keys.empty());  // kept as they are, in the record and the file
    EXPECT_EQ(settings.AnnounceFormat, 3);
    EXPECT_EQ(settings.AdMode, 2);

    // Choosing a button afterwards makes it the value as usual.
    d.SetValue("格式设置", "2");
    d.Command_应用_Click();
    EXPECT_EQ(settings.AnnounceFormat, 2);
}

TEST_F(SettingsDialogTest, ReopeningLoadsAFreshDialogFromTheRecord) {
    Open().SetValue("报时设置", "2");
    dialog->Command_取消_Click();
    Form_一般设置& second = Open();
    EXPECT_EQ(second.Value("报时设置"), "0");
    EXPECT_FALSE(second.ApplyEnabled());
}

// The tables the windows are built from: every control reachable by id, each click or edit
// reaching the field of its control.
TEST_F(SettingsDialogTest, FormTableEventsReachTheirFields) {
    for (const form::Form* table : {&SettingsForm(), &AdvancedForm()}) {
        std::set<int> ids;
        for (const form::Control& control : table->controls) {
            EXPECT_TRUE(ids.insert(control.id).second) << control.name;
            EXPECT_EQ(form::FindControl(*table, control.id), &control);
        }
    }
    Form_一般设置& d = Open();
    d.Click(SettingControlId("格式设置", 2));
    d.Click(SettingControlId("自动校时"));
    d.Click(kAdvancedLabelId);
    EXPECT_EQ(view.log, (std::vector<std::string>{"advanced"}));
    EXPECT_EQ(d.Value("格式设置"), "2");
    EXPECT_EQ(d.Value("自动校时"), "1");  // ticked at load: the synchronisation runs
    d.Click(kApplyControlId);
    EXPECT_EQ(backend.Value("格式设置"), "2");
    d.Click(kCancelControlId);
    EXPECT_EQ(view.log, (std::vector<std::string>{"advanced", "hide", "unload"}));

    settings.VoiceFolder = "/old";
    Form_高级设置& p = OpenAdvanced();
    p.Click(SettingControlId("自然读法"));
    p.Click(SettingControlId("免打扰"));
    p.Edit(SettingControlId("免打扰", kPeriodsPart), "22:00-6:00");
    p.Click(SettingControlId("报时间隔", 2));
    p.Edit(SettingControlId("语音目录"), " /typed ");
    p.Click(SettingControlId("语音目录", kBrowsePart));
    p.Click(SettingControlId("半点报时", 1));
    p.Edit(SettingControlId("报时热键"), "Ctrl+Alt+Q");
    p.Edit(SettingControlId("音量"), "35");
    EXPECT_EQ(p.Value("半点报时"), "1");
    EXPECT_EQ(p.Value("报时热键"), "Ctrl+Alt+Q");
    EXPECT_EQ(p.Value("自然读法"), "1");
    EXPECT_EQ(p.Field("免打扰").periods, "22:00-6:00");
    EXPECT_EQ(p.Value("报时间隔"), "10");
    EXPECT_EQ(p.Value("音量"), "35");
    EXPECT_EQ(view.log, (std::vector<std::string>{"choose 语音目录 /typed"}));
    p.FolderChosen("语音目录", "/chosen");
    EXPECT_EQ(p.Value("语音目录"), "/chosen");
    const form::Control* slider = form::FindControl(AdvancedForm(), SettingControlId("音量"));
    EXPECT_EQ(slider->maximum, 100);
}

TEST(Form, BuildersCreateInTabOrderAtTheRoundedDpiScale) {
    for (const form::Form* table : {&SettingsForm(), &AdvancedForm()}) {
        SCOPED_TRACE(table->caption);
        const std::vector<const form::Control*> order = form::CreationOrder(*table);
        ASSERT_EQ(order.size(), table->controls.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            EXPECT_EQ(order[i]->tabIndex, static_cast<int>(i));
        }
    }
    // Option_广告设置(1) sits at (210, 660) inside its frame at (30, 1260).
    const form::Control* ad = form::FindControl(SettingsForm(), SettingControlId("广告设置", 1));
    EXPECT_EQ(ad->rect, (form::Rect{240, 1920, 2235, 255}));
    EXPECT_EQ(form::ToPixels(ad->rect, 96), (form::PixelRect{16, 128, 149, 17}));
    EXPECT_EQ(form::ToPixels(ad->rect, 144), (form::PixelRect{24, 192, 224, 26}));
    EXPECT_EQ(form::TwipsToPixels(22, 96), 1);  // 1.47 rounds to the nearest pixel
}

// What a screen reader calls each control: the builders name a control after its own caption, the
// label just before it or the table's explicit name. Every control that takes the focus has one,
// also on a page whose settings all got lines of their own.
TEST(Form, EveryFocusableControlHasAName) {
    const form::Rect frame{30, 30, 5670, 1000};
    const PageForm unplaced(SettingsPage::kAdvanced,
                            PageLayout{"高级设置", 5730, 1100, {}, {}, {}, frame, 300, 360});
    std::map<int, std::string> names;
    for (const form::Form* table : {&SettingsForm(), &AdvancedForm(), &unplaced.Form()}) {
        const std::vector<const form::Control*> order = form::CreationOrder(*table);
        for (std::size_t i = 0; i < order.size(); ++i) {
            const std::string name = form::AccessibleName(order, i);
            EXPECT_EQ(name.empty(), !form::TakesFocus(order[i]->kind))
                << table->caption << ": " << order[i]->name;
            if (table == &AdvancedForm() || table == &SettingsForm()) {
                names[order[i]->id] = name;
            }
        }
    }
    const std::vector<std::pair<int, std::string>> expected{
        {kAdvancedLabelId, "切换到高级设置"},
        {kOkControlId, "确定[E]"},
        {SettingControlId("免打扰", kPeriodsPart), "免打扰时段"},
        {SettingControlId("报时日"), "报时日"},
        {SettingControlId("校时服务器"), "校时服务器"},
        {SettingControlId("报时热键"), "报时热键"},
        {SettingControlId("音量"), "音量"},
        {SettingControlId("语音目录"), "语音目录"},
        {SettingControlId("语音目录", kBrowsePart), "浏览…"},
        {SettingControlId("音量", kValueLabelPart), ""},  // a label: read, not operated
    };
    for (const auto& [id, name] : expected) {
        EXPECT_EQ(names[id], name) << id;
    }
}

// A setting its page gives no place gets a line of its own in the growing frame; what lies below
// moves down, and the page grows by the line.
TEST(Form, ASettingWithoutAPlaceGetsALineAndThePageGrows) {
    const form::Rect frame{2880, 1260, 2805, 1305};
    const form::Control fixed[] = {
        form::MakeControl(form::Kind::GroupBox, 1300, "GroupBox_高级设置", "扩展设置", frame, 0),
        form::MakeControl(form::Kind::PushButton, kOkControlId, "Command_确定", "确定",
                          {2400, 2640, 990, 360}, 0),
    };
    const PageForm page(SettingsPage::kBasic,
                        PageLayout{"Horalia设置", 5730, 3060, {}, {}, fixed, frame, 1320, 330});
    const form::Form& f = page.Form();
    // Six settings, none placed: six lines.
    EXPECT_EQ(f.clientHeight, 3060 + 6 * 330);
    EXPECT_EQ(form::FindControl(f, 1300)->rect.height, 1305 + 6 * 330);
    EXPECT_EQ(form::FindControl(f, kOkControlId)->rect.top, 2640 + 6 * 330);
    const form::Control* sync = form::FindControl(f, SettingControlId("自动校时"));
    EXPECT_EQ(sync->rect, (form::Rect{2880 + 210, 1260 + 1320 + 5 * 330, 2805 - 420, 255}));
    EXPECT_EQ(sync->caption, "自动网络校时");
    EXPECT_EQ(form::FindControl(f, SettingControlId("格式设置", 2))->caption, "播放全部");
}

TEST_F(SettingsDialogTest, AdvancedLoadShowsTheRecord) {
    OpenAdvanced();
    EXPECT_EQ(view.fields["免打扰"], (FieldState{"0", "22:00-07:00", "", false, -1}));
    EXPECT_EQ(view.Shown("报时热键"), "Ctrl+Alt+Shift+T");
    EXPECT_EQ(view.fields["报时热键"].note, "");
    EXPECT_EQ(view.Shown("音量"), "100");
    EXPECT_FALSE(page->ApplyEnabled());

    settings.QuietPeriods = {{12 * 60, 13 * 60 + 30}, {23 * 60 + 30, 6 * 60 + 5}};
    settings.AnnounceInterval = 15;
    settings.AnnounceDays = ParseAnnouncementDays("工作日").value();
    settings.HalfOrQuarterHours = 2;
    settings.NaturalReading = 1;
    settings.DesktopQuietCheck = 1;
    settings.AnnounceHotkey = "";
    settings.Volume = 35;
    settings.VoiceFolder = "D:\\声音\\女声";
    mainForm.hotkeyState = HotkeyState::kUnavailable;
    Form_高级设置& full = OpenAdvanced();
    EXPECT_EQ(view.fields["免打扰"], (FieldState{"1", "12:00-13:30,23:30-06:05", "", true, -1}));
    const std::map<std::string, std::string> shown = {
        {"半点报时", "2"}, {"自然读法", "1"},  {"勿扰检测", "1"},    {"报时热键", ""},
        {"音量", "35"},    {"报时间隔", "15"}, {"报时日", "工作日"}, {"语音目录", "D:\\声音\\女声"},
    };
    EXPECT_FALSE(view.fields["半点报时"].enabled);  // replaced by the interval
    for (const auto& [key, value] : shown) {
        EXPECT_EQ(view.Shown(key), value) << key;
    }
    EXPECT_EQ(view.fields["报时热键"].note, "此桌面不支持全局热键");
    EXPECT_FALSE(full.ApplyEnabled());
    EXPECT_FALSE(view.applyEnabled);
    EXPECT_TRUE(backend.keys.empty());
}

TEST_F(SettingsDialogTest, AdvancedApplyWritesTheChangedKeysKeepsTheRestAndReachesTheRecord) {
    backend.values[{kIni, kSettingsSection, "报时设置"}] = "2";
    backend.values[{kIni, kSettingsSection, "广告日期"}] = "2026|12|07";
    settings.AnnounceFrequency = 2;
    Form_高级设置& p = OpenAdvanced();
    p.Toggle("免打扰");
    p.SetPeriods("免打扰", " 7：05-9:00， 12:00-13:30 ");  // typed with a Chinese input method
    p.SetValue("半点报时", "2");
    p.SetValue("报时间隔", "20");
    p.SetValue("报时日", " 1,2,3,4,5 ");
    p.SetValue("报时热键", "Alt+Win+F9");
    p.SetValue("音量", "40");
    p.SetValue("语音目录", "  /home/u/声音 ");
    const int refreshes = mainForm.refreshes;
    p.Click(kApplyControlId);

    EXPECT_EQ(backend.keys, (std::vector<std::string>{"免打扰", "半点报时", "报时间隔", "报时日",
                                                      "报时热键", "音量", "语音目录"}));
    EXPECT_EQ(backend.fileWrites, 1);
    EXPECT_EQ(backend.Value("免打扰"), "07:05-09:00,12:00-13:30");
    EXPECT_EQ(backend.Value("报时间隔"), "20");
    EXPECT_EQ(backend.Value("报时日"), "1-5");
    EXPECT_EQ(backend.Value("半点报时"), "2");
    EXPECT_EQ(backend.Value("报时热键"), "Alt+Win+F9");
    EXPECT_EQ(mainForm.refreshes, refreshes + 1);  // the running program takes the new hotkey
    EXPECT_FALSE(backend.Value("自然读法").has_value());  // unchanged
    EXPECT_EQ(backend.Value("音量"), "40");
    EXPECT_EQ(backend.Value("语音目录"), "/home/u/声音");
    EXPECT_EQ(backend.Value("报时设置"), "2");
    EXPECT_EQ(backend.Value("广告日期"), "2026|12|07");
    // The running program reads the record at its next tick and announcement.
    EXPECT_EQ(settings.QuietPeriods,
              (std::vector<QuietPeriod>{{7 * 60 + 5, 9 * 60}, {12 * 60, 13 * 60 + 30}}));
    EXPECT_EQ(settings.AnnounceInterval, 20);
    EXPECT_EQ(settings.AnnounceDays, ParseAnnouncementDays("1-5"));
    EXPECT_EQ(settings.HalfOrQuarterHours, 2);
    EXPECT_EQ(settings.Volume, 40);
    EXPECT_EQ(settings.VoiceFolder, "/home/u/声音");
    EXPECT_EQ(settings.AnnounceFrequency, 2);
    // The page shows what was applied and stays open.
    EXPECT_EQ(view.fields["免打扰"].periods, "07:05-09:00,12:00-13:30");
    EXPECT_EQ(view.Shown("报时日"), "1-5");
    EXPECT_EQ(view.Shown("语音目录"), "/home/u/声音");
    EXPECT_FALSE(p.ApplyEnabled());
    EXPECT_TRUE(view.log.empty());
    EXPECT_EQ(mainForm.notSaved, 0);

    // Quiet hours switched off again: written empty, whatever the disabled boxes hold, which
    // keep it.
    p.Toggle("免打扰");
    p.SetPeriods("免打扰", "nonsense");
    p.Click(kOkControlId);
    EXPECT_EQ(backend.Value("免打扰"), "");
    EXPECT_TRUE(settings.QuietPeriods.empty());
    EXPECT_EQ(view.fields["免打扰"].periods, "nonsense");
    EXPECT_EQ(view.log, (std::vector<std::string>{"hide", "unload"}));
}

// 报时间隔 replaces 报时设置 and 半点报时: both are shown out of force while it is set, on the
// page that holds them, and keep their values.
TEST_F(SettingsDialogTest, AnIntervalGreysTheHoursItReplaces) {
    Form_高级设置& p = OpenAdvanced();
    EXPECT_TRUE(view.fields["半点报时"].enabled);
    p.Click(SettingControlId("报时间隔", 5));
    EXPECT_EQ(p.Value("报时间隔"), "30");
    EXPECT_FALSE(view.fields["半点报时"].enabled);
    EXPECT_TRUE(Open().Field("报时设置").enabled);  // until the interval is applied
    p.Click(kApplyControlId);
    Open();
    EXPECT_FALSE(view.fields["报时设置"].enabled);
    EXPECT_EQ(view.Shown("报时设置"), "0");
    OpenAdvanced().Click(SettingControlId("报时间隔", 0));
    EXPECT_EQ(page->Value("报时间隔"), "");
    EXPECT_TRUE(view.fields["半点报时"].enabled);
    page->Click(kOkControlId);
    EXPECT_EQ(settings.AnnounceInterval, 0);
    EXPECT_TRUE(Open().Field("报时设置").enabled);
}

TEST_F(SettingsDialogTest, InvalidInputIsMarkedAndRefusedWithAMessageAndNothingChanges) {
    struct Case {
        const char* periods;
        const char* days;
        const char* hotkey;
        const char* invalid;  // the field
        const char* says;
    };
    const Case cases[] = {
        {"25:00-07:00", "", "", "免打扰", "免打扰时段“25:00-07:00”无效。请按“时:分-时:分”填写"},
        {"-07:00", "", "", "免打扰", "“-07:00”无效"},
        {"22:00-7.30", "", "", "免打扰", "“22:00-7.30”无效"},
        {"12:00-13:30,22:00-22:60", "", "", "免打扰", "“22:00-22:60”无效"},
        {"12:00-13:30,08:00-8:00", "", "", "免打扰", "“08:00-8:00”的开始时间和结束时间相同"},
        {"12:00-13:30,,22:00-07:00", "", "", "免打扰", "无效"},
        {"  ", "", "", "免打扰", "免打扰时段是空的。请按“时:分-时:分”填写，例如 22:00-07:00"},
        {"08:00-09:00", "8", "", "报时日", kBadAnnouncementDays},
        {"08:00-09:00", "5-1", "", "报时日", kBadAnnouncementDays},
        {"08:00-09:00", "周一", "", "报时日", kBadAnnouncementDays},
        {"08:00-09:00", "", "Shift+T", "报时热键", "报时热键要有 Ctrl、Alt 或 Win"},
    };
    settings.Volume = 70;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.periods) + " " + c.days + " " + c.hotkey);
        Form_高级设置& p = OpenAdvanced();
        p.Toggle("免打扰");
        p.SetPeriods("免打扰", c.periods);
        p.SetValue("报时日", c.days);
        p.SetValue("报时热键", c.hotkey);
        p.SetValue("音量", "10");
        p.Click(kOkControlId);
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_NE(view.messages[0].find(c.says), std::string::npos) << view.messages[0];
        EXPECT_EQ(view.fields[c.invalid].invalidBox, 0);  // shown invalid, once
        EXPECT_EQ(p.Field(c.invalid).invalidBox, -1);
        EXPECT_TRUE(backend.keys.empty());
        EXPECT_TRUE(settings.QuietPeriods.empty());
        EXPECT_EQ(settings.Volume, 70);
        EXPECT_TRUE(p.ApplyEnabled());
        EXPECT_TRUE(view.log.empty());  // OK does not close a page it could not apply
    }
    // An empty hotkey switches it off.
    Form_高级设置& p = OpenAdvanced();
    p.SetValue("报时热键", "");
    p.Click(kOkControlId);
    EXPECT_EQ(backend.Value("报时热键"), "");
    EXPECT_EQ(settings.AnnounceHotkey, "");
}

// 校时服务器 takes a list of servers; anything else is refused as a bad hotkey is, and the page's
// other changes wait with it.
TEST_F(SettingsDialogTest, TimeServerBoxTakesOnlyAListOfServers) {
    Form_高级设置& p = OpenAdvanced();
    p.SetValue("校时服务器", "ntp.ntsc.ac.cn,,time.nist.gov");
    p.SetValue("农历", "2");
    p.Click(kOkControlId);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.fields["校时服务器"].invalidBox, 0);
    EXPECT_EQ(settings.LunarMode, 0);
    p.SetValue("校时服务器", " ntp://ntp.ntsc.ac.cn, time.nist.gov ");
    p.Click(kOkControlId);
    EXPECT_EQ(backend.Value("校时服务器"), "ntp://ntp.ntsc.ac.cn, time.nist.gov");
    EXPECT_EQ(settings.LunarMode, 2);
}

// Every control lies inside the window, a control that touches a frame lies wholly inside it,
// and no two controls other than frames share a twip.
TEST(DialogLayout, ControlsStayInsideTheWindowAndTheirFramesAndNeverOverlap) {
    const auto inside = [](const form::Rect& in, const form::Rect& outer) {
        return in.left >= outer.left && in.top >= outer.top &&
               in.left + in.width <= outer.left + outer.width &&
               in.top + in.height <= outer.top + outer.height;
    };
    const auto overlap = [](const form::Rect& a, const form::Rect& b) {
        return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
               b.top < a.top + a.height;
    };
    for (const form::Form* dialog : {&SettingsForm(), &AdvancedForm()}) {
        const form::Rect window{0, 0, dialog->clientWidth, dialog->clientHeight};
        for (const form::Control& a : dialog->controls) {
            EXPECT_TRUE(inside(a.rect, window)) << a.name;
            for (const form::Control& b : dialog->controls) {
                if (&a == &b || !overlap(a.rect, b.rect)) {
                    continue;
                }
                if (b.kind == form::Kind::GroupBox) {
                    EXPECT_TRUE(a.kind == form::Kind::GroupBox || inside(a.rect, b.rect))
                        << a.name << " straddles " << b.name;
                } else if (a.kind != form::Kind::GroupBox) {
                    ADD_FAILURE() << a.name << " overlaps " << b.name;
                }
            }
        }
    }
}

}  // namespace
}  // namespace horalia
