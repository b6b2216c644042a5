// Mainland China's working days (工作日): Monday to Friday, except the public holidays, plus the
// weekend days declared worked instead (调休), as the State Council's yearly notices set them.
// The notices of the years published so far come with the program; a person's own file adds to
// them and wins over them, one "YYYY-MM-DD 休" or "YYYY-MM-DD 班" a line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace horalia {

// The file beside Value.ini that holds a person's own days.
inline constexpr char kHolidayFileName[] = "节假日.txt";
// Its path: iniPath with the file name replaced.
std::string HolidayFilePath(const std::string& iniPath);
// At most this many bytes of it are read; a larger file is not a list of days.
inline constexpr std::size_t kHolidayFileMaxBytes = 256 * 1024;

class WorkingDayCalendar {
  public:
    // The notices that come with the program.
    WorkingDayCalendar();

    // Takes the days of a holiday file's text (UTF-8, with or without a byte-order mark, GBK, or
    // UTF-16 with its mark); each wins over what was known of its day. A line that does not
    // read as a real date, a blank and 休 or 班 (anything after another blank is a note) is
    // skipped. Returns how many lines were taken.
    int AddFileText(std::string_view bytes);

    // Whether the civil date is a working day: a day the notices or the file name counts as
    // they say, any other Monday to Friday is one.
    bool IsWorkingDay(int year, int month, int day) const;

    // Whether the notices or the file say anything of the year. For a year they do not, working
    // days are simply Monday to Friday.
    bool KnowsYear(int year) const { return years_.contains(year); }

  private:
    std::map<std::int32_t, bool> worked_;  // yyyymmdd: true for 班, false for 休
    std::set<int> years_;
};

}  // namespace horalia
