#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/moment.h"
#include "timesync/daytime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)horalia::GetMonthNumber(text);
    if (auto reply = horalia::ParseDaytimeReply(text)) {
        const horalia::ClockValue* value = &reply->value;
        horalia::Moment m;
        m.year = value->year;
        m.month = value->month;
        m.day = value->day;
        m.hour = value->hour;
        m.minute = value->minute;
        m.second = value->second;
        if (m.year == 0 || !horalia::IsValidMoment(m) || value->dayOfWeek != 0 ||
            value->milliseconds > 999 ||
            (reply->utcOffsetMinutes && std::abs(*reply->utcOffsetMinutes) > 14 * 60 + 59)) {
            std::abort();
        }
    }
    if (auto nist = horalia::ParseNistDaytimeReply(text)) {
        const horalia::ClockValue& v = nist->utc;
        if (!horalia::IsValidMoment({v.year, v.month, v.day, v.hour, v.minute, v.second, 0}) ||
            nist->health < 0 || nist->health > 9 || nist->advanceMilliseconds < 0) {
            std::abort();
        }
    }
    return 0;
}
