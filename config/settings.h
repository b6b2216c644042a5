// The settings record: the user's choices, loaded once from Value.ini and the start entry.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace horalia {

class 读写配置;
class StartEntryStore;

inline constexpr char kSettingsSection[] = "Horalia";

struct SettingsRecord {
    std::int32_t AnnounceFrequency = 0;  // "报时设置": index into AnnounceHours
    std::int32_t AnnounceFormat = 0;    // "格式设置": 0 time, 1 date, 2 date then time, 3 chime
    std::int32_t AdMode = 0;            // "广告设置": 0 every start, 1 at most once a day
    std::int32_t AnnounceOff = 0;       // "关闭报时"
    std::int32_t AutoSyncOff = 0;       // "自动校时"
    std::string AdShownDate;            // "广告日期": "yyyy|mm|dd"
    std::int32_t StartWithWindows = 0;  // 1 when the start entry holds this program's command
    std::array<std::int32_t, 5> AnnounceHours{};  // 1, 2, 6, 0, 0 after LoadSettings
};

// Reads Value.ini (through config, whose file is already named) and the start entry into record.
void LoadSettings(读写配置& config, StartEntryStore& startStore, const std::string& startCommand,
                  SettingsRecord& record);

}  // namespace horalia
