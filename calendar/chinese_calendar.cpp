#include "calendar/chinese_calendar.h"

#include <array>
#include <cstdint>

namespace horalia {

namespace {

#include "calendar/lunar_tables.inc"

constexpr int kFirstTableYear = 1901;
constexpr int kTableYears = static_cast<int>(std::size(kLunarYearCodes));
static_assert(std::size(kSolarTermDays) == kTableYears);

constexpr std::array<std::string_view, 10> kStems = {"甲", "乙", "丙", "丁", "戊",
                                                     "己", "庚", "辛", "壬", "癸"};
constexpr std::array<std::string_view, 12> kBranches = {"子", "丑", "寅", "卯", "辰", "巳",
                                                        "午", "未", "申", "酉", "戌", "亥"};
constexpr std::array<std::string_view, 12> kAnimals = {"鼠", "牛", "虎", "兔", "龙", "蛇",
                                                       "马", "羊", "猴", "鸡", "狗", "猪"};
constexpr std::array<std::string_view, 10> kDigits = {"",   "一", "二", "三", "四",
                                                      "五", "六", "七", "八", "九"};

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int CivilMonthDays(int year, int month) {
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

bool IsRealDate(int year, int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= CivilMonthDays(year, month);
}

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's days_from_civil).
int DaysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::uint32_t YearCode(int lunarYear) {
    return kLunarYearCodes[lunarYear - kFirstTableYear];
}

int NewYearDay(int lunarYear) {
    return DaysFromCivil(lunarYear, 1, 1) + static_cast<int>((YearCode(lunarYear) >> 17) & 0x3F);
}

// The lunar date of a day counted from 1970, within the table's lunar years.
std::optional<LunarDate> LunarDateOfDay(int dayNumber, int civilYear) {
    int year = civilYear;
    const bool pastTable = year - kFirstTableYear >= kTableYears;
    if (pastTable || (year >= kFirstTableYear && dayNumber < NewYearDay(year))) {
        --year;
    }
    if (year < kFirstTableYear || year - kFirstTableYear >= kTableYears) {
        return std::nullopt;
    }
    const std::uint32_t code = YearCode(year);
    const int leapMonth = static_cast<int>((code >> 13) & 0xF);
    const int months = leapMonth == 0 ? 12 : 13;
    int offset = dayNumber - NewYearDay(year);
    for (int i = 0; i < months; ++i) {
        const int length = (code >> i) & 1 ? 30 : 29;
        if (offset < length) {
            const bool leap = leapMonth != 0 && i == leapMonth;
            const int month = leapMonth != 0 && i >= leapMonth ? i : i + 1;
            return LunarDate{year, month, leap, offset + 1};
        }
        offset -= length;
    }
    return std::nullopt;  // past the last month of the table's last year
}

bool InRange(int year, int month, int day) {
    const int n = DaysFromCivil(year, month, day);
    return n >= DaysFromCivil(kFirstLunarDay.year, kFirstLunarDay.month, kFirstLunarDay.day) &&
           n <= DaysFromCivil(kLastLunarDay.year, kLastLunarDay.month, kLastLunarDay.day);
}

std::size_t Cyclic(int lunarYear, int period) {
    // 1984 (甲子, 鼠) opens a cycle.
    return static_cast<std::size_t>(((lunarYear - 1984) % period + period) % period);
}

std::string_view LunarFestival(const LunarDate& date) {
    struct Festival {
        int month;
        int day;
        std::string_view name;
    };
    constexpr std::array<Festival, 7> kFestivals = {{{1, 1, "春节"},
                                                     {1, 15, "元宵节"},
                                                     {5, 5, "端午节"},
                                                     {7, 7, "七夕"},
                                                     {8, 15, "中秋节"},
                                                     {9, 9, "重阳节"},
                                                     {12, 8, "腊八节"}}};
    if (date.leap) {
        return {};
    }
    for (const Festival& festival : kFestivals) {
        if (festival.month == date.month && festival.day == date.day) {
            return festival.name;
        }
    }
    return {};
}

std::string_view CivilFestival(int month, int day) {
    if (month == 1 && day == 1) {
        return "元旦";
    }
    if (month == 5 && day == 1) {
        return "劳动节";
    }
    return month == 10 && day == 1 ? "国庆节" : "";
}

}  // namespace

std::optional<LunarDate> LunarDateOf(int year, int month, int day) {
    if (!IsRealDate(year, month, day) || !InRange(year, month, day)) {
        return std::nullopt;
    }
    return LunarDateOfDay(DaysFromCivil(year, month, day), year);
}

std::string_view SolarTermOn(int year, int month, int day) {
    if (year < kFirstTableYear || year - kFirstTableYear >= kTableYears ||
        !IsRealDate(year, month, day)) {
        return {};
    }
    const std::string_view days = kSolarTermDays[year - kFirstTableYear];
    for (int term = 2 * (month - 1); term < 2 * month; ++term) {
        const auto at = static_cast<std::size_t>(2 * term);
        if ((days[at] - '0') * 10 + (days[at + 1] - '0') == day) {
            return kSolarTermNames[term];
        }
    }
    return {};
}

std::string_view HeavenlyStemOf(int lunarYear) {
    return kStems[Cyclic(lunarYear, 10)];
}

std::string_view EarthlyBranchOf(int lunarYear) {
    return kBranches[Cyclic(lunarYear, 12)];
}

std::string_view ZodiacAnimalOf(int lunarYear) {
    return kAnimals[Cyclic(lunarYear, 12)];
}

std::vector<std::string_view> FestivalsOn(int year, int month, int day) {
    const std::optional<LunarDate> date = LunarDateOf(year, month, day);
    if (!date) {
        return {};
    }
    std::vector<std::string_view> festivals;
    if (const std::string_view name = LunarFestival(*date); !name.empty()) {
        festivals.push_back(name);
    }
    // 除夕: the day before 正月初一, whether 腊月 has 29 days or 30. The table runs to the end of
    // the lunar year 2100, so the day after the range's last one is known too.
    const int tomorrowsYear = month == 12 && day == 31 ? year + 1 : year;
    const std::optional<LunarDate> tomorrow =
        LunarDateOfDay(DaysFromCivil(year, month, day) + 1, tomorrowsYear);
    if (tomorrow && tomorrow->month == 1 && !tomorrow->leap && tomorrow->day == 1) {
        festivals.emplace_back("除夕");
    }
    if (const std::string_view name = CivilFestival(month, day); !name.empty()) {
        festivals.push_back(name);
    }
    return festivals;
}

std::string LunarMonthName(int month, bool leap) {
    std::string name = leap ? "闰" : "";
    if (month == 1) {
        return name + "正月";
    }
    if (month == 11) {
        return name + "冬月";
    }
    if (month == 12) {
        return name + "腊月";
    }
    if (month == 10) {
        return name + "十月";
    }
    if (month < 1 || month > 12) {
        return {};
    }
    return name + std::string(kDigits[static_cast<std::size_t>(month)]) + "月";
}

std::string LunarDayName(int day) {
    if (day < 1 || day > 30) {
        return {};
    }
    if (day <= 10) {
        return "初" + std::string(day == 10 ? "十" : kDigits[static_cast<std::size_t>(day)]);
    }
    const int tens = day / 10;
    const int units = day % 10;
    return std::string(tens == 1 ? "" : kDigits[static_cast<std::size_t>(tens)]) + "十" +
           std::string(kDigits[static_cast<std::size_t>(units)]);
}

std::string LunarDateLine(int year, int month, int day, int mode) {
    const std::optional<LunarDate> date = LunarDateOf(year, month, day);
    if (!date || (mode != 1 && mode != 2)) {
        return {};
    }
    std::string line = "农历";
    if (mode == 2) {
        line += std::string(HeavenlyStemOf(date->year)) + std::string(EarthlyBranchOf(date->year)) +
                std::string(ZodiacAnimalOf(date->year)) + "年 ";
    }
    line += LunarMonthName(date->month, date->leap) + LunarDayName(date->day);
    if (const std::string_view term = SolarTermOn(year, month, day); !term.empty()) {
        line += " " + std::string(term);
    }
    for (const std::string_view festival : FestivalsOn(year, month, day)) {
        line += " " + std::string(festival);
    }
    return line;
}

}  // namespace horalia
