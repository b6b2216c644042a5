#include "common/zone_clock.h"

#include <chrono>

namespace horalia {

std::int64_t CivilMilliseconds(const Moment& m) {
    using namespace std::chrono;
    const sys_days date = year_month_day{year{m.year}, month{static_cast<unsigned>(m.month)},
                                         day{static_cast<unsigned>(m.day)}};
    const milliseconds since = date.time_since_epoch() + hours{m.hour} + minutes{m.minute} +
                               seconds{m.second} + milliseconds{m.millisecond};
    return since.count();
}

Moment CivilMoment(std::int64_t count) {
    using namespace std::chrono;
    const sys_time<milliseconds> t{milliseconds{count}};
    const sys_days date = floor<days>(t);
    const year_month_day ymd{date};
    const hh_mm_ss<milliseconds> time{t - date};
    return {static_cast<int>(ymd.year()),
            static_cast<int>(unsigned(ymd.month())),
            static_cast<int>(unsigned(ymd.day())),
            static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()),
            static_cast<int>(time.seconds().count()),
            static_cast<int>(time.subseconds().count())};
}

}  // namespace horalia
