#include "timesync/time_sync.h"

#include <utility>

namespace horalia {

TimeSync::TimeSync(TimeSocket& socket, LocalClockSetter& clock, OneShotTimer& replyTimeout,
                   std::string host, std::uint16_t port)
    : socket_(socket),
      clock_(clock),
      replyTimeout_(replyTimeout),
      host_(std::move(host)),
      port_(port) {}

void TimeSync::RequestTimeSync() {
    if (!socket_.IsClosed())
        return;  // the previous exchange is still open
    socket_.Connect(host_, port_);
    replyTimeout_.Start(kReplyTimeoutMilliseconds);
}

void TimeSync::OnSyncTimerTick() {
    ++syncTickCount_;
    if (syncTickCount_ > kTicksBetweenSyncs) {
        syncTickCount_ = 0;
        RequestTimeSync();
    }
}

void TimeSync::OnDataArrival(std::int32_t /*bytesTotal*/) {
    HandleWaitingReply();
}

void TimeSync::OnClosedByPeer() {
    HandleWaitingReply();
}

void TimeSync::OnConnectFailed() {
    EndExchange();
}

void TimeSync::OnReplyTimeout() {
    EndExchange();
}

void TimeSync::HandleWaitingReply() {
    // An event queued before the exchange ended belongs to no exchange any more.
    if (socket_.IsClosed())
        return;
    const std::string reply = socket_.ReadAll(kMaxReplyBytes);
    if (const auto value = ParseDaytimeReply(reply))
        clock_.SetLocalClock(*value);  // a refusal leaves the clock as it was; nothing to report
    EndExchange();
}

void TimeSync::EndExchange() {
    replyTimeout_.Stop();
    socket_.Close();
}

}  // namespace horalia
