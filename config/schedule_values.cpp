#include "config/schedule_values.h"

#include "config/value_text.h"

namespace horalia {
namespace {

using value_text::Split;
using value_text::Trimmed;
using value_text::WithAsciiPunctuation;

std::optional<int> Weekday(std::string_view text) {
    text = Trimmed(text);
    if (text.size() != 1 || text[0] < '1' || text[0] > '7') {
        return std::nullopt;
    }
    return text[0] - '0';
}

bool HasDay(std::uint8_t weekdays, int day) {
    return (weekdays >> (day - 1) & 1) != 0;
}

}  // namespace

const char kBadAnnouncementDays[] =
    "报时日无效。请留空（每天报时）、填“工作日”，或填星期几的数字（周一为 1，周日为 7），"
    "可用范围，用逗号隔开，例如 1-5,7。";

std::optional<std::int32_t> ParseAnnounceInterval(std::string_view text) {
    text = Trimmed(text);
    if (text.empty()) {
        return 0;
    }
    for (const std::int32_t minutes : kAnnounceIntervals) {
        if (text == std::to_string(minutes)) {
            return minutes;
        }
    }
    return std::nullopt;
}

std::string FormatAnnounceInterval(std::int32_t minutes) {
    return minutes == 0 ? std::string() : std::to_string(minutes);
}

std::optional<AnnouncementDays> ParseAnnouncementDays(std::string_view text) {
    const std::string ascii = WithAsciiPunctuation(text);
    const std::string_view trimmed = Trimmed(ascii);
    if (trimmed.empty()) {
        return AnnouncementDays{};
    }
    if (trimmed == kWorkingDaysText) {
        return AnnouncementDays{AnnouncementDays::Kind::kWorkingDays, 0};
    }
    AnnouncementDays days{AnnouncementDays::Kind::kWeekdays, 0};
    for (const std::string_view part : Split(trimmed, ',')) {
        const std::size_t dash = part.find('-');
        const auto first = Weekday(part.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : Weekday(part.substr(dash + 1));
        if (!first || !last || *last < *first) {
            return std::nullopt;
        }
        for (int day = *first; day <= *last; ++day) {
            days.weekdays = static_cast<std::uint8_t>(days.weekdays | 1u << (day - 1));
        }
    }
    return days;
}

std::string FormatAnnouncementDays(const AnnouncementDays& days) {
    switch (days.kind) {
        case AnnouncementDays::Kind::kEveryDay:
            return "";
        case AnnouncementDays::Kind::kWorkingDays:
            return kWorkingDaysText;
        case AnnouncementDays::Kind::kWeekdays:
            break;
    }
    std::string text;
    for (int day = 1; day <= 7; ++day) {
        if (!HasDay(days.weekdays, day)) {
            continue;
        }
        int last = day;
        while (last < 7 && HasDay(days.weekdays, last + 1)) {
            ++last;
        }
        text += text.empty() ? "" : ",";
        if (last - day >= 2) {
            text += std::to_string(day) + "-" + std::to_string(last);
            day = last;
        } else {
            text += std::to_string(day);
        }
    }
    return text;
}

}  // namespace horalia
