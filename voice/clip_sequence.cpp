#include "voice/clip_sequence.h"

#include "calendar/chinese_calendar.h"
#include "voice/numerals.h"

namespace horalia {

namespace {

// One clip text per UTF-8 character of text; a stray byte becomes a clip of its own.
void AppendCharacters(std::vector<std::string>& clips, const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80    ? 1
                             : lead >= 0xF0 ? 4
                             : lead >= 0xE0 ? 3
                             : lead >= 0xC0 ? 2
                                            : 1;
        if (i + length > text.size()) {
            length = text.size() - i;
        }
        clips.push_back(text.substr(i, length));
        i += length;
    }
}

std::string Ordinary(int value) {
    std::int16_t places = 0;
    return NumberToChinese(value, false, false, places);
}

std::string DigitByDigit(int value) {
    std::int16_t places = 0;
    return NumberToChinese(value, false, true, places);
}

void AppendTime(std::vector<std::string>& clips, const Moment& moment, bool natural) {
    clips.emplace_back("现在时间");
    clips.push_back(natural ? NaturalPeriod(moment.hour) : ClockPeriod(moment.hour));
    const int hour12 = moment.hour % 12 == 0 ? 12 : moment.hour % 12;
    if (natural && hour12 == 2) {
        clips.emplace_back("两");
    } else {
        AppendCharacters(clips, Ordinary(hour12));
    }
    clips.emplace_back("点");
    if (moment.minute == 0) {
        clips.emplace_back("整");
        return;
    }
    if (natural && moment.minute >= 1 && moment.minute <= 9) {
        clips.emplace_back("零");
    }
    AppendCharacters(clips, Ordinary(moment.minute));
    clips.emplace_back("分");
}

void AppendLunarDate(std::vector<std::string>& clips, const Moment& moment,
                     std::int32_t lunarMode) {
    if (lunarMode != 1 && lunarMode != 2) {
        return;
    }
    const std::optional<LunarDate> date = LunarDateOf(moment.year, moment.month, moment.day);
    if (!date) {
        return;
    }
    clips.emplace_back("农历");
    if (lunarMode == 2) {
        clips.emplace_back(HeavenlyStemOf(date->year));
        clips.emplace_back(EarthlyBranchOf(date->year));
        clips.emplace_back(ZodiacAnimalOf(date->year));
        clips.emplace_back("年");
    }
    if (date->leap) {
        clips.emplace_back("闰");
    }
    // 正月, 冬月 and 腊月 are words of their own (正 is zhēng there, 腊 là); 二 月 .. 十 月 are
    // said with the Gregorian months' clips.
    const std::string month = LunarMonthName(date->month, false);
    if (date->month == 1 || date->month >= 11) {
        clips.push_back(month);
    } else {
        AppendCharacters(clips, month);
    }
    AppendCharacters(clips, LunarDayName(date->day));
    if (const std::string_view term = SolarTermOn(moment.year, moment.month, moment.day);
        !term.empty()) {
        clips.emplace_back(term);
    }
    for (const std::string_view festival : FestivalsOn(moment.year, moment.month, moment.day)) {
        clips.emplace_back(festival);
    }
}

void AppendDate(std::vector<std::string>& clips, const Moment& moment, std::int32_t lunarMode) {
    clips.emplace_back("今天是");
    AppendCharacters(clips, DigitByDigit(moment.year));
    clips.emplace_back("年");
    AppendCharacters(clips, Ordinary(moment.month));
    clips.emplace_back("月");
    AppendCharacters(clips, Ordinary(moment.day));
    clips.emplace_back("日");
    clips.emplace_back("星期");
    // The weekday is counted from Sunday whatever the system's first day of the week. A date that
    // names no real day (only a broken clock gives one) has no weekday to speak.
    const bool realDate = moment.year >= 1 && moment.year <= 9999 && moment.month >= 1 &&
                          moment.month <= 12 && moment.day >= 1 &&
                          moment.day <= DaysInMonth(moment.year, moment.month);
    if (!realDate) {
        return;
    }
    const int weekday = DayOfWeek(moment);  // 0 = Sunday
    clips.push_back(weekday == 0 ? std::string("日") : Ordinary(weekday));
    AppendLunarDate(clips, moment, lunarMode);
}

}  // namespace

std::string NaturalPeriod(int hour) {
    if (hour <= 4) {
        return "凌晨";
    }
    if (hour <= 7) {
        return "早上";
    }
    if (hour <= 11) {
        return "上午";
    }
    if (hour == 12) {
        return "中午";
    }
    return hour <= 18 ? "下午" : "晚上";
}

std::string ClockPeriod(int hour) {
    return hour < 12 ? "上午" : "下午";
}

std::vector<std::string> TimeClipTexts(const Moment& moment, bool natural) {
    std::vector<std::string> clips;
    AppendTime(clips, moment, natural);
    return clips;
}

std::vector<std::string> LunarClipTexts(const Moment& moment, std::int32_t lunarMode) {
    std::vector<std::string> clips;
    AppendLunarDate(clips, moment, lunarMode);
    return clips;
}

std::vector<std::string> DateClipTexts(const Moment& moment, std::int32_t lunarMode) {
    std::vector<std::string> clips;
    AppendDate(clips, moment, lunarMode);
    return clips;
}

std::vector<std::string> AfterChimeClipTexts(const Moment& moment, std::int32_t announceFormat,
                                             bool natural, std::int32_t lunarMode) {
    std::vector<std::string> clips;
    if (announceFormat == 1 || announceFormat == 2) {
        AppendDate(clips, moment, lunarMode);
    }
    if (announceFormat == 0 || announceFormat == 2) {
        AppendTime(clips, moment, natural);
    }
    return clips;
}

std::vector<std::string> AnnouncementClipTexts(const Moment& moment, std::int32_t announceFormat,
                                               bool natural, std::int32_t lunarMode) {
    std::vector<std::string> clips{kChimeClip};
    const std::vector<std::string> rest =
        AfterChimeClipTexts(moment, announceFormat, natural, lunarMode);
    clips.insert(clips.end(), rest.begin(), rest.end());
    return clips;
}

}  // namespace horalia
