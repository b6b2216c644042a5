#include "calendar/working_days.h"

#include <chrono>
#include <optional>
#include <span>

#include "calendar/holiday_notices.h"

namespace horalia {
namespace {

// 休 and 班 as UTF-8 and as GBK, the two ways a person's editor saves them.
constexpr std::string_view kOffWords[] = {"\xE4\xBC\x91", "\xD0\xDD"};
constexpr std::string_view kWorkedWords[] = {"\xE7\x8F\xAD", "\xB0\xE0"};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (IsBlank(text.front()) || text.front() == '\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<int> Digits(std::string_view text) {
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<std::chrono::year_month_day> DateOf(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const auto year = Digits(text.substr(0, 4));
    const auto month = Digits(text.substr(5, 2));
    const auto day = Digits(text.substr(8, 2));
    if (!year || !month || !day) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year(*year),
                                           std::chrono::month(static_cast<unsigned>(*month)),
                                           std::chrono::day(static_cast<unsigned>(*day))};
    return date.ok() ? std::optional(date) : std::nullopt;
}

std::int32_t Key(int year, int month, int day) {
    return year * 10000 + month * 100 + day;
}

// The word at the start of text, when it is one of the words and is followed by nothing or a
// blank.
bool StartsWithWord(std::string_view text, std::span<const std::string_view> words) {
    for (const std::string_view word : words) {
        if (text.starts_with(word) && (text.size() == word.size() || IsBlank(text[word.size()]))) {
            return true;
        }
    }
    return false;
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// UTF-16 text (after its mark) as UTF-8; only the Basic Multilingual Plane matters for the
// lines, so a surrogate becomes '?'.
std::string FromUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto high = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
        const auto low = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
        const char32_t unit = static_cast<char32_t>(high << 8 | low);
        AppendUtf8(unit >= 0xD800 && unit < 0xE000 ? U'?' : unit, out);
    }
    return out;
}

}  // namespace

std::string HolidayFilePath(const std::string& iniPath) {
    const std::size_t separator = iniPath.find_last_of("/\\");
    const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    return iniPath.substr(0, nameStart) + kHolidayFileName;
}

WorkingDayCalendar::WorkingDayCalendar() {
    AddFileText(kHolidayNotices);
}

int WorkingDayCalendar::AddFileText(std::string_view bytes) {
    std::string converted;
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        converted = FromUtf16(bytes.substr(2), bytes[0] == '\xFE');
        bytes = converted;
    } else if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    int taken = 0;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view line = Trimmed(bytes.substr(0, end));
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);

        const auto date = DateOf(line.substr(0, 10));
        if (!date || line.size() < 12 || !IsBlank(line[10])) {
            continue;
        }
        const std::string_view word = Trimmed(line.substr(11));
        const bool off = StartsWithWord(word, kOffWords);
        if (!off && !StartsWithWord(word, kWorkedWords)) {
            continue;
        }
        const int year = static_cast<int>(date->year());
        worked_[Key(year, static_cast<int>(static_cast<unsigned>(date->month())),
                    static_cast<int>(static_cast<unsigned>(date->day())))] = !off;
        years_.insert(year);
        ++taken;
    }
    return taken;
}

bool WorkingDayCalendar::IsWorkingDay(int year, int month, int day) const {
    if (const auto found = worked_.find(Key(year, month, day)); found != worked_.end()) {
        return found->second;
    }
    const std::chrono::year_month_day date{std::chrono::year(year),
                                           std::chrono::month(static_cast<unsigned>(month)),
                                           std::chrono::day(static_cast<unsigned>(day))};
    return std::chrono::weekday(std::chrono::sys_days(date)).iso_encoding() <= 5;
}

}  // namespace horalia
