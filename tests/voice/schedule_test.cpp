#include "voice/schedule.h"

#include <gtest/gtest.h>

#include "config/quiet_periods.h"
#include "fakes/fake_time_sync_ports.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace horalia {
namespace {

const std::array<std::int32_t, 5> kHours = {1, 2, 6, 0, 0};

// The holiday notices that come with the program.
const WorkingDayCalendar& Notices() {
    static const WorkingDayCalendar notices;
    return notices;
}

Moment TimeOfDay(int hour, int minute, int second) {
    Moment m;
    m.year = 2026;
    m.month = 12;
    m.day = 6;
    m.hour = hour;
    m.minute = minute;
    m.second = second;
    return m;
}

// The hours whose first second is due over one simulated day.
std::set<int> DueHours(std::int32_t frequency, const std::array<std::int32_t, 5>& hours) {
    std::set<int> due;
    for (int hour = 0; hour < 24; ++hour) {
        if (IsAnnouncementDue(TimeOfDay(hour, 0, 0), frequency, hours)) {
            due.insert(hour);
        }
    }
    return due;
}

std::set<int> EveryHour() {
    std::set<int> all;
    for (int hour = 0; hour < 24; ++hour) {
        all.insert(hour);
    }
    return all;
}

TEST(IsAnnouncementDue, FrequencySelectsTheHours) {
    EXPECT_EQ(DueHours(0, kHours), EveryHour());
    EXPECT_EQ(DueHours(1, kHours), (std::set<int>{0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22}));
    EXPECT_EQ(DueHours(2, kHours), (std::set<int>{0, 6, 12, 18}));
}

TEST(IsAnnouncementDue, OnlyTheFirstSecondOfTheHour) {
    for (const std::int32_t frequency : {0, 1, 2}) {
        EXPECT_TRUE(IsAnnouncementDue(TimeOfDay(12, 0, 0), frequency, kHours));
        EXPECT_FALSE(IsAnnouncementDue(TimeOfDay(10, 0, 1), frequency, kHours));
        EXPECT_FALSE(IsAnnouncementDue(TimeOfDay(10, 30, 0), frequency, kHours));
        EXPECT_FALSE(IsAnnouncementDue(TimeOfDay(12, 1, 0), frequency, kHours));
        EXPECT_FALSE(IsAnnouncementDue(TimeOfDay(0, 59, 59), frequency, kHours));
    }
    // Within the second the milliseconds do not matter.
    Moment late = TimeOfDay(14, 0, 0);
    late.millisecond = 999;
    EXPECT_TRUE(IsAnnouncementDue(late, 1, kHours));
    EXPECT_FALSE(IsAnnouncementDue(TimeOfDay(15, 0, 0), 1, kHours));
    EXPECT_FALSE(IsAnnouncementDue(TimeOfDay(3, 0, 0), 2, kHours));
}

TEST(IsAnnouncementDue, UnusableFrequencyCountsAsEveryHour) {
    for (const std::int32_t frequency : {-1, 3, 4, 5, 99, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(DueHours(frequency, kHours), EveryHour()) << frequency;
        EXPECT_FALSE(IsAnnouncementDue(TimeOfDay(10, 30, 0), frequency, kHours)) << frequency;
    }
    // A hand-edited table with a zero or negative interval in a selected slot.
    EXPECT_EQ(DueHours(1, {1, 0, 6, 0, 0}), EveryHour());
    EXPECT_EQ(DueHours(2, {1, 2, -6, 0, 0}), EveryHour());
    EXPECT_EQ(DueHours(4, {1, 2, 6, 0, 8}), (std::set<int>{0, 8, 16}));
}

SettingsRecord Settings(std::int32_t frequency, std::int32_t halfHours, const char* quiet = "") {
    SettingsRecord s;
    s.AnnounceFrequency = frequency;
    s.AnnounceHours = kHours;
    s.HalfOrQuarterHours = halfHours;
    s.QuietPeriods = ReadQuietPeriods(quiet).periods;
    return s;
}

// The settings with the schedule's further choices, from their texts as Value.ini keeps them.
SettingsRecord Choices(SettingsRecord s, const char* quiet, const char* interval,
                       const char* days) {
    s.QuietPeriods = ReadQuietPeriods(quiet).periods;
    s.AnnounceInterval = ParseAnnounceInterval(interval).value();
    s.AnnounceDays = ParseAnnouncementDays(days).value();
    return s;
}

// "HH:MM" of every scheduled moment of one day.
std::vector<std::string> ScheduledDay(const SettingsRecord& settings) {
    std::vector<std::string> due;
    for (int minute = 0; minute < 24 * 60; ++minute) {
        if (IsScheduledMoment(TimeOfDay(minute / 60, minute % 60, 0), settings, Notices())) {
            char text[8];
            std::snprintf(text, sizeof text, "%02d:%02d", minute / 60, minute % 60);
            due.emplace_back(text);
        }
    }
    return due;
}

TEST(IsScheduledMoment, HalfHoursFollowDueHoursAndQuietHoursSkipBoth) {
    using V = std::vector<std::string>;
    EXPECT_EQ(ScheduledDay(Settings(2, 0)), (V{"00:00", "06:00", "12:00", "18:00"}));
    EXPECT_EQ(ScheduledDay(Settings(2, 1)),
              (V{"00:00", "00:30", "06:00", "06:30", "12:00", "12:30", "18:00", "18:30"}));
    EXPECT_EQ(ScheduledDay(Settings(2, 2, "05:00-06:15")),
              (V{"00:00", "00:15", "00:30", "00:45", "06:15", "06:30", "06:45", "12:00", "12:15",
                 "12:30", "12:45", "18:00", "18:15", "18:30", "18:45"}));
    EXPECT_EQ(ScheduledDay(Settings(1, 1, "02:00-22:00")), (V{"00:00", "00:30", "22:00", "22:30"}));
    // Across midnight, start inclusive and end exclusive.
    EXPECT_EQ(ScheduledDay(Settings(2, 1, "18:30-06:00")),
              (V{"06:00", "06:30", "12:00", "12:30", "18:00"}));
    EXPECT_EQ(ScheduledDay(Settings(0, 1, "00:00-23:59")), V{});
    EXPECT_EQ(ScheduledDay(Settings(0, 0)).size(), 24u);
    EXPECT_EQ(ScheduledDay(Settings(0, 1)).size(), 48u);
    EXPECT_EQ(ScheduledDay(Settings(0, 2)).size(), 96u);
    // Only the first second counts, half hours included.
    EXPECT_FALSE(IsScheduledMoment(TimeOfDay(14, 30, 1), Settings(1, 1), Notices()));
    EXPECT_FALSE(IsScheduledMoment(TimeOfDay(15, 30, 0), Settings(1, 1), Notices()));
    EXPECT_FALSE(IsScheduledMoment(TimeOfDay(15, 45, 0), Settings(1, 2), Notices()));
    EXPECT_FALSE(IsScheduledMoment(TimeOfDay(14, 15, 1), Settings(1, 2), Notices()));
}

// One tick per listed second, "HH:MM:SS"; what each tick announces, "-" for nothing.
std::vector<std::string> Ticks(const SettingsRecord& settings, std::vector<Moment> ticks) {
    AnnouncementSchedule schedule;
    std::vector<std::string> out;
    for (const Moment& tick : ticks) {
        const std::optional<Moment> due = schedule.Tick(tick, settings, Notices());
        char text[16] = "-";
        if (due) {
            std::snprintf(text, sizeof text, "%02d:%02d:%02d", due->hour, due->minute, due->second);
        }
        out.emplace_back(text);
    }
    return out;
}

TEST(AnnouncementSchedule, ALateTickCatchesUpOnceButNothingComesLateAfterAGap) {
    using V = std::vector<std::string>;
    const SettingsRecord hourly = Settings(0, 1);
    // On time, then the next tick: once.
    EXPECT_EQ(Ticks(hourly, {TimeOfDay(9, 59, 59), TimeOfDay(10, 0, 0), TimeOfDay(10, 0, 1)}),
              (V{"-", "10:00:00", "-"}));
    // The busy thread skipped 10:00:00 and 10:00:01: the next tick speaks 10:00:00, once.
    EXPECT_EQ(Ticks(hourly, {TimeOfDay(9, 59, 59), TimeOfDay(10, 0, 2), TimeOfDay(10, 0, 3)}),
              (V{"-", "10:00:00", "-"}));
    EXPECT_EQ(Ticks(hourly, {TimeOfDay(10, 29, 57), TimeOfDay(10, 30, 2)}), (V{"-", "10:30:00"}));
    // Further than kCatchUpSeconds: woken from sleep, or the clock set forward.
    EXPECT_EQ(Ticks(hourly, {TimeOfDay(9, 59, 59), TimeOfDay(10, 0, 5)}), (V{"-", "-"}));
    EXPECT_EQ(Ticks(hourly, {TimeOfDay(3, 12, 0), TimeOfDay(10, 0, 1)}), (V{"-", "-"}));
    // A clock set back over the hour, and a first tick just after it: nothing.
    EXPECT_EQ(Ticks(hourly, {TimeOfDay(10, 0, 3), TimeOfDay(9, 59, 58)}), (V{"-", "-"}));
    EXPECT_EQ(Ticks(hourly, {TimeOfDay(10, 0, 1)}), V{"-"});
    // A moment the settings do not select is not caught up either.
    EXPECT_EQ(Ticks(Settings(1, 0), {TimeOfDay(14, 59, 59), TimeOfDay(15, 0, 2)}), (V{"-", "-"}));
    EXPECT_EQ(Ticks(Settings(0, 0, "09:00-11:00"), {TimeOfDay(9, 59, 59), TimeOfDay(10, 0, 2)}),
              (V{"-", "-"}));
    // Across midnight, into the next day.
    Moment before = TimeOfDay(23, 59, 58);
    Moment after = TimeOfDay(0, 0, 1);
    after.day = 7;
    EXPECT_EQ(Ticks(Settings(2, 0), {before, after}), (V{"-", "00:00:00"}));
}

// "06 12:00:00" per moment.
std::vector<std::string> DayAndTimes(const std::vector<Moment>& moments) {
    std::vector<std::string> out;
    for (const Moment& m : moments) {
        char text[32];
        std::snprintf(text, sizeof text, "%02d %02d:%02d:%02d", m.day, m.hour, m.minute, m.second);
        out.emplace_back(text);
    }
    return out;
}

TEST(NextScheduledMoments, FromAMomentOnAndNoneWhenOff) {
    const fakes::FakeZoneClock utc;
    const auto list = [&](const SettingsRecord& s, const Moment& from, int count) {
        return DayAndTimes(NextScheduledMoments(utc, from, s, Notices(), count));
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(list(Settings(2, 1, "20:00-07:00"), TimeOfDay(12, 0, 0), 4),
              (V{"06 12:00:00", "06 12:30:00", "06 18:00:00", "06 18:30:00"}));
    EXPECT_EQ(list(Settings(2, 1, "20:00-07:00"), TimeOfDay(18, 30, 1), 1), V{"07 12:00:00"});
    EXPECT_EQ(list(Settings(0, 0), TimeOfDay(23, 10, 0), 2), (V{"07 00:00:00", "07 01:00:00"}));
    SettingsRecord off = Settings(0, 0);
    off.AnnounceOff = 1;
    EXPECT_EQ(list(off, TimeOfDay(12, 0, 0), 5), V{});
    EXPECT_EQ(list(Settings(0, 1, "00:00-23:59"), TimeOfDay(12, 0, 0), 5), V{});
}

// The listing against the tray program's own ticks, one a second through a change of summer time
// read from the zone's clock: New York skips 02:00 in March, Berlin has 02:00 twice in October,
// Lord Howe moves by half an hour.
TEST(NextScheduledMoments, ListsWhatTheTicksAnnounceAcrossSummerTime) {
    using fakes::UtcAt;
    struct Case {
        const char* zone;
        fakes::ZoneRules rules;
        UtcMilliseconds start;
        std::vector<std::string> expected;  // the first four
    };
    const Case cases[] = {
        {"America/New_York",
         {{{0, -300}, {UtcAt(2026, 3, 8, 7, 0, 0), -240}}},
         UtcAt(2026, 3, 8, 6, 0, 0),
         {"08 01:00:00", "08 01:30:00", "08 03:00:00", "08 03:30:00"}},
        {"Europe/Berlin",
         {{{0, 120}, {UtcAt(2026, 10, 25, 1, 0, 0), 60}}},
         UtcAt(2026, 10, 25, 0, 0, 0),
         {"25 02:00:00", "25 02:30:00", "25 02:00:00", "25 02:30:00"}},
        {"Australia/Lord_Howe",
         {{{0, 11 * 60}, {UtcAt(2026, 4, 4, 15, 0, 0), 10 * 60 + 30}}},
         UtcAt(2026, 4, 4, 14, 0, 0),
         {"05 01:00:00", "05 01:30:00", "05 01:30:00", "05 02:00:00"}},
    };
    for (const Case& c : cases) {
        fakes::FakeZoneClock zone;
        zone.zone = c.rules;
        // Half hours, and every 10 minutes on Sundays outside two quiet periods.
        for (const SettingsRecord& settings :
             {Settings(0, 1), Choices(Settings(0, 0), "02:30-03:10,04:00-04:20", "10", "7")}) {
            AnnouncementSchedule schedule;
            std::vector<Moment> ticked;
            for (UtcMilliseconds t = c.start; t < c.start + 6 * 3600 * 1000; t += 1000) {
                if (const auto due = schedule.Tick(zone.ToLocal(t), settings, Notices())) {
                    ticked.push_back(*due);
                }
            }
            const std::vector<Moment> listed = NextScheduledMoments(
                zone, zone.ToLocal(c.start), settings, Notices(), static_cast<int>(ticked.size()));
            EXPECT_EQ(DayAndTimes(listed), DayAndTimes(ticked)) << c.zone;
            ASSERT_GE(listed.size(), 4u) << c.zone;
            if (settings.AnnounceInterval == 0) {
                EXPECT_EQ(DayAndTimes({listed.begin(), listed.begin() + 4}), c.expected) << c.zone;
            }
        }
    }
}

TEST(IsScheduledMoment, AnIntervalReplacesTheHoursAndEveryQuietPeriodApplies) {
    using V = std::vector<std::string>;
    for (const auto& [interval, count] :
         {std::pair{"5", 288u}, {"10", 144u}, {"15", 96u}, {"20", 72u}, {"30", 48u}}) {
        const V day = ScheduledDay(Choices(Settings(2, 2), "", interval, ""));
        EXPECT_EQ(day.size(), count) << interval;  // every hour, whatever 报时设置 and 半点报时
        EXPECT_EQ(day[1],
                  std::string("00:") + (interval[1] ? interval : std::string("0") + interval));
    }
    // 13.5 hours outside 12:00-13:30 and 22:00-07:00 (the file's own period lies inside).
    const V day =
        ScheduledDay(Choices(Settings(1, 2, "23:00-06:00"), "12:00-13:30,22:00-07:00", "10", ""));
    EXPECT_EQ(day.size(), 81u);
    EXPECT_EQ((V{day[0], day[29], day[30], day.back()}), (V{"07:00", "11:50", "13:30", "21:50"}));
    // Several periods without an interval: the hours of 报时设置 outside them.
    EXPECT_EQ(ScheduledDay(Choices(Settings(2, 1), "00:00-08:00,13:00-18:00,18:30-00:00", "", "")),
              (V{"12:00", "12:30", "18:00"}));
    // One period in the list reads as the one period of today's file.
    EXPECT_EQ(ScheduledDay(Choices(Settings(2, 1), "18:30-06:00", "", "")),
              ScheduledDay(Settings(2, 1, "18:30-06:00")));
    // A late tick catches a moment of the interval as it does an hour.
    EXPECT_EQ(
        Ticks(Choices(Settings(0, 0), "", "10", ""), {TimeOfDay(10, 9, 59), TimeOfDay(10, 10, 2)}),
        (V{"-", "10:10:00"}));
}

// "MM-DD ..." of the next `count` days announced from the day `from` ("YYYY-MM-DD") on, with
// only 12:00 outside the quiet period: one announcement a day.
std::string AnnouncedDays(const char* days, const char* from, int count,
                          const WorkingDayCalendar& workingDays = Notices()) {
    Moment start = TimeOfDay(0, 0, 0);
    std::sscanf(from, "%d-%d-%d", &start.year, &start.month, &start.day);
    std::string out;
    for (const Moment& m : NextScheduledMoments(fakes::FakeZoneClock(), start,
                                                Choices(Settings(0, 0), "12:01-12:00", "", days),
                                                workingDays, count)) {
        char text[16];
        std::snprintf(text, sizeof text, "%s%02d-%02d", out.empty() ? "" : " ", m.month, m.day);
        out += text;
    }
    return out;
}

TEST(IsScheduledMoment, OnTheWeekdaysAndWorkingDaysOf报时日) {
    const struct {
        const char *days, *from, *announced;
    } cases[] = {
        // 2026-12-04 is a Friday.
        {"", "2026-12-04", "12-04 12-05 12-06 12-07"},
        {"1-5", "2026-12-04", "12-04 12-07 12-08 12-09"},
        {"1-5,7", "2026-12-04", "12-04 12-06 12-07 12-08"},
        {"6", "2026-12-04", "12-05 12-12 12-19 12-26"},
        // Mid-Autumn on Friday 09-25, National Day 10-01 to 10-07; Sunday 09-20 and Saturday
        // 10-10 are worked.
        {"工作日", "2026-09-17",
         "09-17 09-18 09-20 09-21 09-22 09-23 09-24 09-28 09-29 09-30 10-08 10-09 10-10 10-12"},
        // The Spring Festival: 02-15 to 02-23 off, Saturdays 02-14 and 02-28 worked.
        {"工作日", "2026-02-13", "02-13 02-14 02-24 02-25 02-26 02-27 02-28 03-02"},
        // 2025's Spring Festival, and the first day of 2024.
        {"工作日", "2025-01-24", "01-24 01-26 01-27 02-05"},
        {"工作日", "2023-12-29", "12-29 01-02"},
        // No notice for 2027 yet: Monday to Friday, 元旦 included.
        {"工作日", "2026-12-31", "12-31 01-01 01-04"},
    };
    for (const auto& c : cases) {
        const int count = static_cast<int>(std::string_view(c.announced).size() + 1) / 6;
        EXPECT_EQ(AnnouncedDays(c.days, c.from, count), c.announced) << c.days << " " << c.from;
    }
}

TEST(IsScheduledMoment, APersonsHolidayFileWinsOverTheNotices) {
    WorkingDayCalendar mine;
    EXPECT_EQ(mine.AddFileText("2026-09-28 休 年假\n2026-10-01 班\nnot a day\n2027-01-01 休\n"
                               "2027-01-02 班\n"),
              4);
    EXPECT_EQ(AnnouncedDays("工作日", "2026-09-24", 5, mine), "09-24 09-29 09-30 10-01 10-08");
    EXPECT_EQ(AnnouncedDays("工作日", "2026-12-31", 3, mine), "12-31 01-02 01-04");
}

TEST(YearWithoutHolidayData, OnlyFor工作日InAYearNobodyGaveDaysFor) {
    WorkingDayCalendar mine;
    mine.AddFileText("2027-01-04 休\n");  // one line makes the year known
    SettingsRecord s = Choices(Settings(0, 0), "", "", "工作日");
    Moment now = TimeOfDay(9, 0, 0);
    EXPECT_EQ(YearWithoutHolidayData(now, s, Notices()), std::nullopt);
    now.year = 2027;
    EXPECT_EQ(YearWithoutHolidayData(now, s, Notices()), 2027);
    EXPECT_EQ(YearWithoutHolidayData(now, s, mine), std::nullopt);
    s.AnnounceOff = 1;
    EXPECT_EQ(YearWithoutHolidayData(now, s, Notices()), std::nullopt);
    EXPECT_EQ(YearWithoutHolidayData(now, Choices(Settings(0, 0), "", "", "1-5"), Notices()),
              std::nullopt);
}

}  // namespace
}  // namespace horalia
