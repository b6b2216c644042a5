// The values of 报时间隔 and 报时日, read from their text and written back, with the message a
// page shows when a text cannot be taken.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace horalia {

// "报时间隔": the minutes between scheduled announcements; 0 (an empty text) keeps the hours
// of 报时设置 with 半点报时.
inline constexpr std::int32_t kAnnounceIntervals[] = {5, 10, 15, 20, 30};
// One of kAnnounceIntervals, or 0 for an empty text; nothing for any other text.
std::optional<std::int32_t> ParseAnnounceInterval(std::string_view text);
// Empty for 0.
std::string FormatAnnounceInterval(std::int32_t minutes);

// "报时日": the days on which the schedule announces.
struct AnnouncementDays {
    enum class Kind { kEveryDay, kWeekdays, kWorkingDays };
    Kind kind = Kind::kEveryDay;
    // For kWeekdays: bit d - 1 set for the weekday d, Monday = 1 .. Sunday = 7.
    std::uint8_t weekdays = 0;

    friend bool operator==(const AnnouncementDays&, const AnnouncementDays&) = default;
};
// What 报时日 holds for mainland China's working days.
inline constexpr char kWorkingDaysText[] = "工作日";
// Empty for every day, "工作日", or weekdays 1..7 and rising ranges separated by ','
// ("1-5", "1-5,7"); nothing for any other text.
std::optional<AnnouncementDays> ParseAnnouncementDays(std::string_view text);
// As the file keeps it: "", "工作日", or the weekdays with runs of three or more as a range
// ("1-5,7", "6,7").
std::string FormatAnnouncementDays(const AnnouncementDays& days);
// The message a page shows for a 报时日 text that ParseAnnouncementDays does not take.
extern const char kBadAnnouncementDays[];

}  // namespace horalia
