#include "ui/settings/settings_presenter.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fakes/fake_profile_backend.h"
#include "fakes/fake_start_store.h"
#include "fakes/fake_window_ports.h"
#include "ui/settings/advanced_form.h"
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

// Mirrors what the window would show, and logs the hide and unload calls.
class FakeView : public SettingsDialogView {
  public:
    void ShowOption(OptionGroup group, int index) override { options[group] = index; }
    void ShowCheck(CheckBox box, int state) override { checks[box] = state; }
    void ShowApplyEnabled(bool enabled) override {
        applyEnabled = enabled;
        ++applyChanges;
    }
    void ShowAdvancedPage() override { log.push_back("advanced"); }
    void HideWindow() override { log.push_back("hide"); }
    void UnloadWindow() override { log.push_back("unload"); }

    std::map<OptionGroup, int> options;
    std::map<CheckBox, int> checks;
    bool applyEnabled = false;
    int applyChanges = 0;
    std::vector<std::string> log;
};

class SettingsDialogTest : public ::testing::Test {
  protected:
    SettingsDialogTest() { config.SpecifyIni(kIni); }

    Form_一般设置& Open() {
        dialog.emplace(SettingsDialogServices{config, store, kCommand, settings, mainForm}, view);
        dialog->LoadDialog();
        return *dialog;
    }

    OrderedBackend backend;
    读写配置 config{backend};
    fakes::FakeStartStore store;
    SettingsRecord settings;
    FakeMainForm mainForm;
    FakeView view;
    std::optional<Form_一般设置> dialog;
};

TEST_F(SettingsDialogTest, DefaultRecordOpensOnTheFirstButtonsAndClearBoxes) {
    Form_一般设置& d = Open();
    EXPECT_EQ(d.SelectedOption(OptionGroup::报时设置), 0);
    EXPECT_EQ(d.SelectedOption(OptionGroup::格式设置), 0);
    EXPECT_EQ(d.SelectedOption(OptionGroup::广告设置), 0);
    EXPECT_EQ(d.Check(CheckBox::关闭报时), 0);
    EXPECT_EQ(d.Check(CheckBox::开机启动), 0);
    EXPECT_EQ(d.Check(CheckBox::自动校时), 1);  // the synchronisation runs
    EXPECT_FALSE(d.ApplyEnabled());
    // Selecting 开启显示一次 and ticking 自动网络校时 changed those controls' state, so their
    // actions ran (and Apply was enabled, then disabled by the load's last step).
    EXPECT_EQ(view.options, (std::map<OptionGroup, int>{{OptionGroup::广告设置, 0}}));
    EXPECT_EQ(view.checks, (std::map<CheckBox, int>{{CheckBox::自动校时, 1}}));
    EXPECT_EQ(view.applyChanges, 2);
    EXPECT_EQ(store.writes + store.removals, 0);
    EXPECT_FALSE(mainForm.startChecked.has_value());
}

TEST_F(SettingsDialogTest, LoadShowsEveryValueOfTheRecord) {
    settings = {2, 1, 1, 1, 1, "", 1, {1, 2, 6, 0, 0}};
    store.entry = kCommand;
    Form_一般设置& d = Open();
    EXPECT_EQ(d.SelectedOption(OptionGroup::报时设置), 2);
    EXPECT_EQ(d.SelectedOption(OptionGroup::格式设置), 1);
    EXPECT_EQ(d.SelectedOption(OptionGroup::广告设置), 1);
    EXPECT_EQ(view.checks,
              (std::map<CheckBox, int>{{CheckBox::关闭报时, 1}, {CheckBox::开机启动, 1}}));
    EXPECT_FALSE(d.ApplyEnabled());
    EXPECT_FALSE(view.applyEnabled);
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

TEST_F(SettingsDialogTest, ChangeActionsRunOnlyWhenTheStateChanges) {
    Form_一般设置& d = Open();
    const int changesAfterLoad = view.applyChanges;

    d.SelectOption(OptionGroup::报时设置, 0);  // already selected
    d.SetCheck(CheckBox::关闭报时, 0);         // already clear
    d.SetCheck(CheckBox::开机启动, 0);
    EXPECT_FALSE(d.ApplyEnabled());
    EXPECT_EQ(view.applyChanges, changesAfterLoad);
    EXPECT_EQ(store.removals, 0);

    d.SelectOption(OptionGroup::报时设置, 2);
    EXPECT_TRUE(d.ApplyEnabled());
    EXPECT_EQ(view.options[OptionGroup::报时设置], 2);
}

TEST_F(SettingsDialogTest, EveryControlsChangeEnablesApply) {
    struct Case {
        const char* name;
        void (*change)(Form_一般设置&);
    };
    const Case cases[] = {
        {"报时 option", [](Form_一般设置& d) { d.SelectOption(OptionGroup::报时设置, 1); }},
        {"格式 option", [](Form_一般设置& d) { d.SelectOption(OptionGroup::格式设置, 2); }},
        {"广告 option", [](Form_一般设置& d) { d.SelectOption(OptionGroup::广告设置, 1); }},
        {"关闭报时", [](Form_一般设置& d) { d.ToggleCheck(CheckBox::关闭报时); }},
        {"开机启动", [](Form_一般设置& d) { d.ToggleCheck(CheckBox::开机启动); }},
        {"自动校时", [](Form_一般设置& d) { d.ToggleCheck(CheckBox::自动校时); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Form_一般设置& d = Open();
        ASSERT_FALSE(d.ApplyEnabled());
        c.change(d);
        EXPECT_TRUE(d.ApplyEnabled());
        EXPECT_TRUE(view.applyEnabled);
    }
}

TEST_F(SettingsDialogTest, ButtonsOutsideAGroupAreIgnored) {
    Form_一般设置& d = Open();
    d.SelectOption(OptionGroup::广告设置, 2);
    d.SelectOption(OptionGroup::报时设置, -1);
    d.SelectOption(OptionGroup::格式设置, 3);
    EXPECT_EQ(d.SelectedOption(OptionGroup::广告设置), 0);
    EXPECT_EQ(d.SelectedOption(OptionGroup::报时设置), 0);
    EXPECT_EQ(d.SelectedOption(OptionGroup::格式设置), 0);
    EXPECT_FALSE(d.ApplyEnabled());
}

TEST_F(SettingsDialogTest, ApplyWritesTheChangedKeysAtOnceAndSwitchesTheTimers) {
    Form_一般设置& d = Open();
    d.SelectOption(OptionGroup::报时设置, 2);
    d.SelectOption(OptionGroup::格式设置, 1);
    d.SelectOption(OptionGroup::广告设置, 1);
    d.ToggleCheck(CheckBox::关闭报时);
    d.Command_应用_Click();

    EXPECT_EQ(backend.keys,
              (std::vector<std::string>{"报时设置", "格式设置", "广告设置", "关闭报时"}));
    EXPECT_EQ(backend.fileWrites, 1);
    EXPECT_EQ(backend.Value("报时设置"), "2");
    EXPECT_EQ(backend.Value("格式设置"), "1");
    EXPECT_EQ(backend.Value("广告设置"), "1");
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
    d.SelectOption(OptionGroup::报时设置, 1);
    d.ToggleCheck(CheckBox::关闭报时);
    d.Command_确定_Click();
    EXPECT_EQ(backend.keys.size(), 2u);  // the two changed keys tried
    EXPECT_EQ(mainForm.notSaved, 1);
    EXPECT_EQ(settings.AnnounceFrequency, 1);
    EXPECT_EQ(settings.AnnounceOff, 1);
    EXPECT_EQ(mainForm.announceTimer, false);
    EXPECT_EQ(view.log, (std::vector<std::string>{"hide", "unload"}));
}

// The box shows whether the synchronisation runs; Value.ini keeps 自动校时=1 for off.
TEST_F(SettingsDialogTest, AutoSyncBoxIsTickedWhileTheSynchronisationRuns) {
    struct Case {
        std::int32_t stored;
        bool toggle;
        int shown;
        const char* saved;
        bool timer;
    };
    const Case cases[] = {
        {0, false, 1, "0", true},
        {1, false, 0, "1", false},
        {0, true, 1, "1", false},
        {1, true, 0, "0", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.stored) + (c.toggle ? " toggled" : ""));
        settings.AutoSyncOff = c.stored;
        Form_一般设置& d = Open();
        EXPECT_EQ(d.Check(CheckBox::自动校时), c.shown);
        if (c.toggle) {
            d.ToggleCheck(CheckBox::自动校时);
        }
        d.Command_确定_Click();
        // Written when it changed; the file holds it either way.
        EXPECT_EQ(backend.Value("自动校时").value_or(std::to_string(c.stored)), c.saved);
        EXPECT_EQ(settings.AutoSyncOff, std::stoi(c.saved));
        EXPECT_EQ(mainForm.syncTimer, c.timer);
    }
}

TEST_F(SettingsDialogTest, OkWithoutAChangeWritesNothingAndCloses) {
    Form_一般设置& d = Open();
    EXPECT_EQ(mainForm.refreshes, 1);  // the file as it is now, before it is shown
    d.Command_确定_Click();
    EXPECT_TRUE(backend.keys.empty());
    EXPECT_EQ(backend.fileWrites, 0);
    EXPECT_EQ(view.log, (std::vector<std::string>{"hide", "unload"}));
}

TEST_F(SettingsDialogTest, CancelClosesWithoutWritingButKeepsTheStartSwitch) {
    Form_一般设置& d = Open();
    d.ToggleCheck(CheckBox::开机启动);
    d.SelectOption(OptionGroup::报时设置, 1);
    d.Command_取消_Click();
    EXPECT_EQ(view.log, (std::vector<std::string>{"hide", "unload"}));
    EXPECT_TRUE(backend.keys.empty());
    EXPECT_EQ(settings.AnnounceFrequency, 0);
    EXPECT_EQ(store.entry, kCommand);
    EXPECT_EQ(settings.StartWithWindows, 1);
}

TEST_F(SettingsDialogTest, StartBoxRegistersAndUnregistersAtOnce) {
    Form_一般设置& d = Open();
    d.ToggleCheck(CheckBox::开机启动);
    EXPECT_EQ(store.entry, kCommand);
    EXPECT_EQ(settings.StartWithWindows, 1);
    EXPECT_EQ(mainForm.startChecked, true);

    d.ToggleCheck(CheckBox::开机启动);
    EXPECT_FALSE(store.entry.has_value());
    EXPECT_EQ(settings.StartWithWindows, 0);
    EXPECT_EQ(mainForm.startChecked, false);

    // A failed write: the box goes back at once and the main form tells the person.
    store.writable = false;
    d.ToggleCheck(CheckBox::开机启动);
    EXPECT_FALSE(store.entry.has_value());
    EXPECT_EQ(d.Check(CheckBox::开机启动), 0);
    EXPECT_EQ(view.checks[CheckBox::开机启动], 0);
    EXPECT_EQ(settings.StartWithWindows, 0);
    EXPECT_EQ(mainForm.startChecked, false);
    EXPECT_EQ(mainForm.startNotChanged, 1);
}

// Values that have no button (格式设置=3, the chime alone; 广告设置=2, never): the group shows
// none selected, and applying keeps the value instead of replacing it by whatever button happened
// to be set.
TEST_F(SettingsDialogTest, ValuesWithoutAButtonShowNoneAndSurviveApply) {
    struct Case {
        std::int32_t frequency, format, adMode;
    };
    for (const Case c : {Case{2, 3, 2}}) {
        backend.keys.clear();
        settings.AnnounceFrequency = c.frequency;
        settings.AnnounceFormat = c.format;
        settings.AdMode = c.adMode;
        Form_一般设置& d = Open();
        EXPECT_EQ(d.SelectedOption(OptionGroup::报时设置), 2);
        EXPECT_EQ(d.SelectedOption(OptionGroup::格式设置), kNoOptionSelected);
        EXPECT_EQ(d.SelectedOption(OptionGroup::广告设置), kNoOptionSelected);
        EXPECT_EQ(view.options[OptionGroup::广告设置], kNoOptionSelected);
        EXPECT_FALSE(d.ApplyEnabled());

        d.Command_应用_Click();
        EXPECT_TRUE(backend.keys.empty());  // kept as they are, in the record and the file
        EXPECT_EQ(settings.AnnounceFrequency, c.frequency);
        EXPECT_EQ(settings.AnnounceFormat, c.format);
        EXPECT_EQ(settings.AdMode, c.adMode);

        // Choosing a button afterwards makes it the value as usual.
        d.SelectOption(OptionGroup::格式设置, 2);
        EXPECT_TRUE(d.ApplyEnabled());
        d.Command_应用_Click();
        EXPECT_EQ(settings.AnnounceFormat, 2);
    }
}

TEST_F(SettingsDialogTest, ReopeningLoadsAFreshDialogFromTheRecord) {
    Form_一般设置& first = Open();
    first.SelectOption(OptionGroup::报时设置, 2);
    first.Command_取消_Click();
    Form_一般设置& second = Open();
    EXPECT_EQ(second.SelectedOption(OptionGroup::报时设置), 0);
    EXPECT_FALSE(second.ApplyEnabled());
}

}  // namespace
}  // namespace horalia

namespace horalia {
namespace {

// The table the windows are built from: every control reachable by id, each click reaching the
// presenter action of that control.
TEST_F(SettingsDialogTest, FormTableClicksReachTheirControlsActions) {
    const form::Form& table = SettingsForm();
    std::set<int> ids;
    for (const form::Control& control : table.controls) {
        EXPECT_TRUE(ids.insert(control.id).second) << control.name;
        EXPECT_EQ(form::FindControl(table, control.id), &control);
    }
    Form_一般设置& d = Open();
    ClickSettingsControl(d, OptionControlId(OptionGroup::格式设置, 2));
    ClickSettingsControl(d, CheckControlId(CheckBox::自动校时));
    ClickSettingsControl(d, kAdvancedLabelId);
    EXPECT_EQ(view.log, (std::vector<std::string>{"advanced"}));
    view.log.clear();
    EXPECT_EQ(d.SelectedOption(OptionGroup::格式设置), 2);
    EXPECT_EQ(d.Check(CheckBox::自动校时), 0);  // ticked at load: the synchronisation runs
    ClickSettingsControl(d, kApplyControlId);
    EXPECT_EQ(backend.Value("格式设置"), "2");
    ClickSettingsControl(d, kCancelControlId);
    EXPECT_EQ(view.log, (std::vector<std::string>{"hide", "unload"}));
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
    const form::Control* ad =
        form::FindControl(SettingsForm(), OptionControlId(OptionGroup::广告设置, 1));
    EXPECT_EQ(ad->rect, (form::Rect{240, 1920, 2235, 255}));
    EXPECT_EQ(form::ToPixels(ad->rect, 96), (form::PixelRect{16, 128, 149, 17}));
    EXPECT_EQ(form::ToPixels(ad->rect, 144), (form::PixelRect{24, 192, 224, 26}));
    EXPECT_EQ(form::TwipsToPixels(22, 96), 1);  // 1.47 rounds to the nearest pixel
}

}  // namespace
}  // namespace horalia

namespace horalia {
namespace {

// Mirrors what the advanced page would show.
class FakeAdvancedView : public AdvancedDialogView {
  public:
    void ShowCheck(AdvancedCheck box, int state) override { checks[box] = state; }
    void ShowText(AdvancedText field, const std::string& text) override { texts[field] = text; }
    void ShowVolume(int value) override { volume = value; }
    void ShowHalfHourOption(int index) override { halfHour = index; }
    void ShowHotkeyNote(const std::string& text) override { hotkeyNote = text; }
    void ShowQuietTimesEnabled(bool enabled) override { quietTimesEnabled = enabled; }
    void ShowApplyEnabled(bool enabled) override { applyEnabled = enabled; }
    void ShowInvalidInput(AdvancedText field, const std::string& message) override {
        invalid.emplace_back(field, message);
    }
    void ChooseFolder(const std::string& current) override { log.push_back("choose " + current); }
    void HideWindow() override { log.push_back("hide"); }
    void UnloadWindow() override { log.push_back("unload"); }

    std::map<AdvancedCheck, int> checks;
    std::map<AdvancedText, std::string> texts;
    int volume = -1;
    int halfHour = -1;
    std::string hotkeyNote = "unset";
    bool quietTimesEnabled = false;
    bool applyEnabled = false;
    std::vector<std::pair<AdvancedText, std::string>> invalid;
    std::vector<std::string> log;
};

constexpr AdvancedText kStart = AdvancedText::免打扰开始;
constexpr AdvancedText kEnd = AdvancedText::免打扰结束;
constexpr AdvancedText kFolder = AdvancedText::语音目录;
constexpr AdvancedText kHotkey = AdvancedText::报时热键;

class AdvancedPageTest : public SettingsDialogTest {
  protected:
    Form_高级设置& OpenAdvanced() {
        page.emplace(AdvancedDialogServices{config, settings, mainForm}, advancedView);
        page->LoadDialog();
        return *page;
    }

    FakeAdvancedView advancedView;
    std::optional<Form_高级设置> page;
};

TEST_F(AdvancedPageTest, LoadShowsTheRecord) {
    Form_高级设置& none = OpenAdvanced();
    EXPECT_EQ(none.Check(AdvancedCheck::免打扰), 0);
    EXPECT_FALSE(advancedView.quietTimesEnabled);
    // Times to start from once the box is ticked.
    EXPECT_EQ(advancedView.texts,
              (std::map<AdvancedText, std::string>{
                  {kStart, "22:00"}, {kEnd, "07:00"}, {kHotkey, "Ctrl+Alt+Shift+T"}}));
    EXPECT_EQ(advancedView.volume, 100);
    EXPECT_EQ(advancedView.hotkeyNote, "");
    EXPECT_FALSE(none.ApplyEnabled());

    settings.QuietTime = QuietHours{23 * 60 + 30, 6 * 60 + 5};
    settings.HalfHourChimes = 2;
    settings.NaturalReading = 1;
    settings.DesktopQuietCheck = 1;
    settings.AnnounceHotkey = "";
    settings.Volume = 35;
    settings.VoiceFolder = "D:\\声音\\女声";
    mainForm.hotkeyState = HotkeyState::kUnavailable;
    advancedView = {};
    Form_高级设置& full = OpenAdvanced();
    EXPECT_EQ(advancedView.checks, (std::map<AdvancedCheck, int>{{AdvancedCheck::免打扰, 1},
                                                                 {AdvancedCheck::自然读法, 1},
                                                                 {AdvancedCheck::勿扰检测, 1}}));
    EXPECT_EQ(advancedView.halfHour, 2);
    EXPECT_EQ(advancedView.hotkeyNote, "此桌面不支持全局热键");
    EXPECT_TRUE(advancedView.quietTimesEnabled);
    EXPECT_EQ(advancedView.texts,
              (std::map<AdvancedText, std::string>{
                  {kStart, "23:30"}, {kEnd, "06:05"}, {kFolder, "D:\\声音\\女声"}}));
    EXPECT_EQ(advancedView.volume, 35);
    EXPECT_FALSE(full.ApplyEnabled());
    EXPECT_FALSE(advancedView.applyEnabled);
    EXPECT_TRUE(backend.keys.empty());
}

TEST_F(AdvancedPageTest, EveryRealChangeEnablesApply) {
    struct Case {
        const char* name;
        void (*change)(Form_高级设置&);
        bool enables;
    };
    const Case cases[] = {
        {"免打扰", [](Form_高级设置& p) { p.ToggleCheck(AdvancedCheck::免打扰); }, true},
        {"每刻钟", [](Form_高级设置& p) { p.SelectHalfHour(2); }, true},
        {"自然读法", [](Form_高级设置& p) { p.ToggleCheck(AdvancedCheck::自然读法); }, true},
        {"勿扰检测", [](Form_高级设置& p) { p.ToggleCheck(AdvancedCheck::勿扰检测); }, true},
        {"hotkey pressed", [](Form_高级设置& p) { p.SetText(kHotkey, "Ctrl+F5"); }, true},
        {"start", [](Form_高级设置& p) { p.SetText(kStart, "21:00"); }, true},
        {"end", [](Form_高级设置& p) { p.SetText(kEnd, "0"); }, true},
        {"folder typed", [](Form_高级设置& p) { p.SetText(kFolder, "/v"); }, true},
        {"folder chosen", [](Form_高级设置& p) { p.FolderChosen("/v"); }, true},
        {"volume", [](Form_高级设置& p) { p.SetVolume(99); }, true},
        {"same volume", [](Form_高级设置& p) { p.SetVolume(100); }, false},
        {"volume above 100", [](Form_高级设置& p) { p.SetVolume(250); }, false},
        {"same text", [](Form_高级设置& p) { p.SetText(kStart, "22:00"); }, false},
        {"same state", [](Form_高级设置& p) { p.SetCheck(AdvancedCheck::勿扰检测, 0); }, false},
        {"same option", [](Form_高级设置& p) { p.SelectHalfHour(0); }, false},
        {"option beyond", [](Form_高级设置& p) { p.SelectHalfHour(7); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Form_高级设置& p = OpenAdvanced();
        c.change(p);
        EXPECT_EQ(p.ApplyEnabled(), c.enables);
        EXPECT_EQ(advancedView.applyEnabled, c.enables);
    }
    EXPECT_EQ(OpenAdvanced().Volume(), 100);
    page->SetVolume(-3);
    EXPECT_EQ(advancedView.volume, 0);
}

TEST_F(AdvancedPageTest, ApplyWritesTheChangedKeysKeepsTheRestAndReachesTheRecord) {
    backend.values[{kIni, kSettingsSection, "报时设置"}] = "2";
    backend.values[{kIni, kSettingsSection, "广告日期"}] = "2026|12|07";
    settings.AnnounceFrequency = 2;
    Form_高级设置& p = OpenAdvanced();
    p.ToggleCheck(AdvancedCheck::免打扰);
    p.SetText(kStart, " 7：05 ");  // typed with a Chinese input method
    p.SetText(kEnd, "9:00");
    p.SelectHalfHour(2);
    p.SetText(kHotkey, "Alt+Win+F9");
    p.SetVolume(40);
    p.SetText(kFolder, "  /home/u/声音 ");
    const int refreshes = mainForm.refreshes;
    ClickAdvancedControl(p, kApplyControlId);

    EXPECT_EQ(backend.keys,
              (std::vector<std::string>{"免打扰", "半点报时", "报时热键", "音量", "语音目录"}));
    EXPECT_EQ(backend.fileWrites, 1);
    EXPECT_EQ(backend.Value("免打扰"), "07:05-09:00");
    EXPECT_EQ(backend.Value("半点报时"), "2");
    EXPECT_EQ(backend.Value("报时热键"), "Alt+Win+F9");
    EXPECT_EQ(mainForm.refreshes, refreshes + 1);  // the running program takes the new hotkey
    EXPECT_FALSE(backend.Value("自然读法").has_value());  // unchanged
    EXPECT_EQ(backend.Value("音量"), "40");
    EXPECT_EQ(backend.Value("语音目录"), "/home/u/声音");
    EXPECT_EQ(backend.Value("报时设置"), "2");
    EXPECT_EQ(backend.Value("广告日期"), "2026|12|07");
    // The running program reads the record at its next tick and announcement.
    EXPECT_EQ(settings.QuietTime, (QuietHours{7 * 60 + 5, 9 * 60}));
    EXPECT_EQ(settings.HalfHourChimes, 2);
    EXPECT_EQ(settings.Volume, 40);
    EXPECT_EQ(settings.VoiceFolder, "/home/u/声音");
    EXPECT_EQ(settings.AnnounceFrequency, 2);
    // The page shows what was applied and stays open.
    EXPECT_EQ(advancedView.texts[kStart], "07:05");
    EXPECT_EQ(advancedView.texts[kFolder], "/home/u/声音");
    EXPECT_FALSE(p.ApplyEnabled());
    EXPECT_TRUE(advancedView.log.empty());
    EXPECT_EQ(mainForm.notSaved, 0);

    // Quiet hours switched off again: written empty, whatever the disabled boxes hold.
    p.ToggleCheck(AdvancedCheck::免打扰);
    p.SetText(kEnd, "nonsense");
    ClickAdvancedControl(p, kOkControlId);
    EXPECT_EQ(backend.Value("免打扰"), "");
    EXPECT_FALSE(settings.QuietTime);
    EXPECT_EQ(advancedView.log, (std::vector<std::string>{"hide", "unload"}));
}

TEST_F(AdvancedPageTest, InvalidTimesAreRefusedWithAMessageAndNothingChanges) {
    struct Case {
        const char* start;
        const char* end;
        AdvancedText field;
        const char* says;
    };
    const Case cases[] = {
        {"25:00", "07:00", kStart, "开始时间无效"},
        {"", "07:00", kStart, "开始时间无效"},
        {"22:00", "7.30", kEnd, "结束时间无效"},
        {"22:00", "22:60", kEnd, "结束时间无效"},
        {"08:00", "8:00", kEnd, "相同"},
    };
    settings.Volume = 70;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + "-" + c.end);
        advancedView.invalid.clear();
        advancedView.log.clear();
        Form_高级设置& p = OpenAdvanced();
        p.ToggleCheck(AdvancedCheck::免打扰);
        p.SetText(kStart, c.start);
        p.SetText(kEnd, c.end);
        p.SetVolume(10);
        ClickAdvancedControl(p, kOkControlId);
        ASSERT_EQ(advancedView.invalid.size(), 1u);
        EXPECT_EQ(advancedView.invalid[0].first, c.field);
        EXPECT_NE(advancedView.invalid[0].second.find(c.says), std::string::npos);
        EXPECT_TRUE(backend.keys.empty());
        EXPECT_FALSE(settings.QuietTime);
        EXPECT_EQ(settings.Volume, 70);
        EXPECT_TRUE(p.ApplyEnabled());
        EXPECT_TRUE(advancedView.log.empty());  // OK does not close a page it could not apply
    }
}

TEST_F(AdvancedPageTest, AHotkeyWithoutCtrlAltOrWinIsRefusedAndAnEmptyOneSwitchesItOff) {
    Form_高级设置& p = OpenAdvanced();
    p.SetText(kHotkey, "Shift+T");
    ClickAdvancedControl(p, kOkControlId);
    ASSERT_EQ(advancedView.invalid.size(), 1u);
    EXPECT_EQ(advancedView.invalid[0].first, kHotkey);
    EXPECT_TRUE(backend.keys.empty());
    EXPECT_EQ(settings.AnnounceHotkey, "Ctrl+Alt+Shift+T");
    p.SetText(kHotkey, "");
    ClickAdvancedControl(p, kOkControlId);
    EXPECT_EQ(backend.Value("报时热键"), "");
    EXPECT_EQ(settings.AnnounceHotkey, "");
}

TEST_F(AdvancedPageTest, CancelWritesNothing) {
    Form_高级设置& p = OpenAdvanced();
    p.ToggleCheck(AdvancedCheck::自然读法);
    p.SetVolume(5);
    ClickAdvancedControl(p, kCancelControlId);
    EXPECT_EQ(advancedView.log, (std::vector<std::string>{"hide", "unload"}));
    EXPECT_TRUE(backend.keys.empty());
    EXPECT_EQ(settings.NaturalReading, 0);
    EXPECT_EQ(settings.Volume, 100);
}

TEST_F(AdvancedPageTest, AnUnwritableFileIsReportedAndTheValuesStillApply) {
    backend.refuseWrites = true;
    Form_高级设置& p = OpenAdvanced();
    p.SetVolume(20);
    p.Command_确定_Click();
    EXPECT_EQ(backend.keys, std::vector<std::string>{"音量"});
    EXPECT_EQ(mainForm.notSaved, 1);
    EXPECT_EQ(settings.Volume, 20);
    EXPECT_EQ(advancedView.log, (std::vector<std::string>{"hide", "unload"}));
}

TEST_F(AdvancedPageTest, TableEventsReachThePresenter) {
    std::set<int> ids;
    for (const form::Control& control : AdvancedForm().controls) {
        EXPECT_TRUE(ids.insert(control.id).second) << control.name;
    }
    settings.VoiceFolder = "/old";
    Form_高级设置& p = OpenAdvanced();
    ClickAdvancedControl(p, AdvancedCheckControlId(AdvancedCheck::自然读法));
    EditAdvancedControl(p, AdvancedTextControlId(kFolder), " /typed ");
    ClickAdvancedControl(p, kBrowseControlId);
    ClickAdvancedControl(p, HalfHourOptionControlId(1));
    EditAdvancedControl(p, AdvancedTextControlId(kHotkey), "Ctrl+Alt+Q");
    EXPECT_EQ(p.HalfHourOption(), 1);
    EXPECT_EQ(p.Text(kHotkey), "Ctrl+Alt+Q");
    EXPECT_EQ(p.Check(AdvancedCheck::自然读法), 1);
    EXPECT_EQ(advancedView.log, (std::vector<std::string>{"choose /typed"}));
    EXPECT_EQ(form::FindControl(AdvancedForm(), kVolumeSliderId)->maximum, 100);
    EXPECT_NE(form::FindControl(AdvancedForm(), kVolumeValueId), nullptr);
    EXPECT_EQ(VolumeText(35), "35%");
}

}  // namespace
}  // namespace horalia

namespace horalia {
namespace {

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
