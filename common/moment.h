// A local date and time read once from the clock by a trigger and passed down unchanged, so that
// every word of an announcement (or every field of a tooltip) describes the same instant.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace horalia {

struct Moment {
    int year = 2000;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    friend bool operator==(const Moment&, const Moment&) = default;
};

// Day of the week of a civil date, 0 = Sunday .. 6 = Saturday (proleptic Gregorian calendar).
int DayOfWeek(int year, int month, int day);
inline int DayOfWeek(const Moment& m) {
    return DayOfWeek(m.year, m.month, m.day);
}

int DaysInMonth(int year, int month);

// True when every field names a real date and time of day (no 31 April, no hour 24).
bool IsValidMoment(const Moment& m);

// "2026|12|06": four-digit year, two-digit month and day, joined by '|'.
std::string FormatDateFields(const Moment& m);

// Splits at every separator; two separators in a row give an empty field.
std::vector<std::string> SplitFields(std::string_view text, char separator);

}  // namespace horalia
