#include "config/settings.h"

#include "config/ini_file.h"
#include "config/start_with_system.h"

namespace horalia {
namespace {

// Values a hand-edited Value.ini may hold beyond what the dialog writes are decided here:
// - 报时设置 picks a slot of AnnounceHours; only slots 0..2 hold a period, so anything else
//   (3, 4, negatives, larger) falls back to 0, every hour.
// - 格式设置 keeps 0..3 (3 is the chime alone); anything else falls back to 0, time only.
// - 广告设置, 关闭报时 and 自动校时 are kept as read: the advertisement check treats any value
//   other than 0 and 1 as "never show", and start-up gives the check marks and timers a defined
//   state for every number.
std::int32_t FrequencyOrDefault(std::int32_t value) {
    return (value >= 0 && value <= 2) ? value : 0;
}
std::int32_t FormatOrDefault(std::int32_t value) {
    return (value >= 0 && value <= 3) ? value : 0;
}

}  // namespace

void LoadSettings(读写配置& config, StartEntryStore& startStore, const std::string& startCommand,
                  SettingsRecord& record) {
    record.AnnounceFrequency = FrequencyOrDefault(config.ReadInt(kSettingsSection, "报时设置"));
    record.AnnounceFormat = FormatOrDefault(config.ReadInt(kSettingsSection, "格式设置"));
    record.AdMode = config.ReadInt(kSettingsSection, "广告设置");
    record.AnnounceOff = config.ReadInt(kSettingsSection, "关闭报时");
    record.AutoSyncOff = config.ReadInt(kSettingsSection, "自动校时");
    record.AdShownDate = config.ReadString(kSettingsSection, "广告日期", 12);
    record.StartWithWindows = IsStartRegistered(startStore, startCommand) ? 1 : 0;
    record.AnnounceHours = {1, 2, 6, 0, 0};
}

}  // namespace horalia
