#include "app/sync_notice.h"

#include <cstdio>

#include "timesync/step_bound.h"

namespace horalia {
namespace {

std::string DateAndTime(const Moment& m) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", m.year, m.month, m.day,
                  m.hour, m.minute, m.second);
    return text;
}

std::string BothTimes(const TimeSyncOutcome& outcome) {
    return "服务器时间 " + DateAndTime(outcome.serverTime) + "，本机时间 " +
           DateAndTime(outcome.computerTime) + "。";
}

const std::string kBound = std::to_string(kMaxAutomaticStepMilliseconds / 1000);

}  // namespace

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
        case Kind::kUntrustedYear:
            return "时间服务器 " + server + " 发来的时间 " + DateAndTime(outcome.serverTime) +
                   " 不在" + std::to_string(kEarliestTrustedYear) + "年至" +
                   std::to_string(kLatestTrustedYear) + "年之间，不可信，时钟未改动。";
        case Kind::kTooFar:
            return TooFarNoticeText(outcome);
        case Kind::kRefused:
            return "时间服务器 " + server + " 拒绝回答，时钟未改动。";
        case Kind::kDeclined:
            return "时钟未改动。" + offset;
        case Kind::kNotUnderstood:
            break;
    }
    return "无法识别时间服务器 " + server + " 的回答，时钟未改动。";
}

// One time a line, so that a date never breaks.
std::string LargeStepQuestionText(const TimeSyncOutcome& outcome) {
    return "服务器时间：" + DateAndTime(outcome.serverTime) + "\n本机时间：" +
           DateAndTime(outcome.computerTime) + "\n" + ClockOffsetText(outcome.offsetMilliseconds) +
           "，超过" + kBound + "秒。要把本机时钟改为服务器时间吗？";
}

std::string TooFarNoticeText(const TimeSyncOutcome& outcome) {
    return "自动校时只改正" + kBound + "秒以内的偏差，时钟未改动。" + BothTimes(outcome) +
           "要改正时钟，请在菜单中选择“网络校时”。";
}

}  // namespace horalia
