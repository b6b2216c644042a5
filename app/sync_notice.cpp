#include "app/sync_notice.h"

namespace horalia {

std::string ClockOffsetText(std::int64_t offsetMilliseconds) {
    const bool behind = offsetMilliseconds > 0;
    std::int64_t seconds = ((behind ? offsetMilliseconds : -offsetMilliseconds) + 500) / 1000;
    if (seconds == 0) {
        return "本机时钟与服务器相差不到1秒";
    }
    std::string amount;
    const std::pair<std::int64_t, const char*> units[] = {
        {86400, "天"}, {3600, "小时"}, {60, "分"}, {1, "秒"}};
    for (const auto& [size, name] : units) {
        if (seconds >= size) {
            amount += std::to_string(seconds / size) + name;
            seconds %= size;
        }
    }
    return std::string("本机时钟比服务器") + (behind ? "慢" : "快") + amount;
}

std::string TimeSyncNoticeText(const TimeSyncOutcome& outcome, std::string_view host) {
    using Kind = TimeSyncOutcome::Kind;
    const std::string offset = ClockOffsetText(outcome.offsetMilliseconds) + "。";
    const std::string server(host);
    switch (outcome.kind) {
        case Kind::kClockSet:
            return "时钟已校准。校准前" + offset;
        case Kind::kLeftToSystem:
            return "系统已自动同步时间（NTP），时钟未改动。" + offset;
        case Kind::kNotAllowed:
            return "没有修改系统时间的权限，时钟未改动。" + offset;
        case Kind::kClockRefused:
            return "系统拒绝了新的时间，时钟未改动。";
        case Kind::kUnreachable:
            return "无法连接时间服务器 " + server + "，时钟未改动。";
        case Kind::kNoAnswer:
            return "时间服务器 " + server + " 没有发来时间，时钟未改动。";
        case Kind::kUnhealthy:
            return "时间服务器 " + server + " 报告自身时间不可靠，时钟未改动。";
        case Kind::kNotUnderstood:
            break;
    }
    return "无法识别时间服务器 " + server + " 的回答，时钟未改动。";
}

}  // namespace horalia
