#include "ui/settings/advanced_presenter.h"

#include <string_view>

#include "timesync/time_server.h"

namespace horalia {
namespace {

constexpr char kBadTimeServers[] =
    "校时服务器要写成 主机名、主机名:端口 或 ntp://主机名，多个用英文逗号分隔，例如 "
    "ntp://ntp.ntsc.ac.cn, time.nist.gov。留空则用内置的服务器。";

}  // namespace

Form_高级设置::Form_高级设置(const AdvancedDialogServices& services, MainFormCallbacks& mainForm,
                             SettingsPageView& view)
    : SettingsPagePresenter(SettingsPage::kAdvanced, services, mainForm, view) {}

void Form_高级设置::LoadDialog() {
    SettingsPagePresenter::LoadDialog();
    ShowHotkeyState();
}

void Form_高级设置::Applied() {
    mainForm_.RefreshSettings();
    ShowHotkeyState();
}

std::optional<std::string> Form_高级设置::TextProblem(const SettingRow& row,
                                                      const std::string& text) const {
    if (std::string_view(row.key) == "校时服务器" && !ParseTimeServerList(text)) {
        return kBadTimeServers;
    }
    return std::nullopt;
}

void Form_高级设置::ShowWhatIsInForce() {
    ShowEnabled("半点报时", Value("报时间隔").empty());
}

void Form_高级设置::ShowHotkeyState() {
    ShowNote("报时热键", HotkeyStateText(mainForm_.AnnounceHotkeyState()));
}

}  // namespace horalia
