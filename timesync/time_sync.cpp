#include "timesync/time_sync.h"

#include <utility>

#include "timesync/step_bound.h"
#include "timesync/time_server.h"

namespace horalia {
namespace {

TimeSyncOutcome::Kind KindOf(ReadingStatus status) {
    switch (status) {
        case ReadingStatus::kUnreachable:
            return TimeSyncOutcome::Kind::kUnreachable;
        case ReadingStatus::kSilent:
        case ReadingStatus::kClosedWithoutData:
            return TimeSyncOutcome::Kind::kNoAnswer;
        case ReadingStatus::kUnhealthy:
            return TimeSyncOutcome::Kind::kUnhealthy;
        case ReadingStatus::kRefused:
            return TimeSyncOutcome::Kind::kRefused;
        case ReadingStatus::kTime:
            return TimeSyncOutcome::Kind::kClockSet;
        case ReadingStatus::kNotUnderstood:
        case ReadingStatus::kCutOff:
            break;
    }
    return TimeSyncOutcome::Kind::kNotUnderstood;
}

TimeSyncOutcome::Kind KindOf(ClockSetResult result) {
    switch (result) {
        case ClockSetResult::kSet:
            return TimeSyncOutcome::Kind::kClockSet;
        case ClockSetResult::kLeftToSystem:
            return TimeSyncOutcome::Kind::kLeftToSystem;
        case ClockSetResult::kNotAllowed:
        case ClockSetResult::kAsked:  // an answer that never came
            return TimeSyncOutcome::Kind::kNotAllowed;
        case ClockSetResult::kRefused:
            break;
    }
    return TimeSyncOutcome::Kind::kClockRefused;
}

}  // namespace

TimeSync::TimeSync(TimeSocket& socket, ClockSetter& clock, OneShotTimer& replyTimeout,
                   const ZoneClock& zoneClock, ServerAddress server)
    : socket_(socket),
      clock_(clock),
      replyTimeout_(replyTimeout),
      zoneClock_(zoneClock),
      exchange_(zoneClock),
      ntp_(zoneClock),
      servers_{server},
      nextServers_{std::move(server)} {}

void TimeSync::SetServers(std::vector<ServerAddress> servers) {
    if (!servers.empty())
        nextServers_ = std::move(servers);
}

void TimeSync::RequestTimeSync(SyncTrigger trigger) {
    if (!socket_.IsClosed()) {
        // The previous exchange is still open; the person who asked will hear how it ends.
        if (trigger == SyncTrigger::kMenu)
            trigger_ = trigger;
        return;
    }
    trigger_ = trigger;
    servers_ = nextServers_;
    serverIndex_ = 0;
    AskServer();
}

void TimeSync::AskServer() {
    const ServerAddress& server = servers_[serverIndex_];
    exchange_.Begin();
    ntp_.Reset();
    socket_.Connect(server.host, server.port,
                    Datagrams() ? Transport::kDatagram : Transport::kStream);
    replyTimeout_.Start(kReplyTimeoutMilliseconds);
}

bool TimeSync::Datagrams() const {
    return servers_[serverIndex_].protocol == TimeProtocol::kNtp;
}

void TimeSync::OnSyncTimerTick() {
    ++syncTickCount_;
    if (syncTickCount_ > kTicksBetweenSyncs) {
        syncTickCount_ = 0;
        RequestTimeSync(SyncTrigger::kTimer);
    }
}

// Events queued before the exchange ended belong to no exchange any more: each handler first
// checks that the socket is still open.
void TimeSync::OnConnected() {
    if (socket_.IsClosed())
        return;
    if (Datagrams())
        socket_.Send(ntp_.Request());
    else
        exchange_.Connected();
}

void TimeSync::OnConnectFailed() {
    if (!socket_.IsClosed())
        Finish(ExchangeEnd::kConnectFailed);
}

void TimeSync::OnDataArrival(std::int32_t /*bytesTotal*/) {
    if (socket_.IsClosed())
        return;
    if (!Datagrams()) {
        if (exchange_.Received(socket_.ReadAll(exchange_.Room())))
            Finish(ExchangeEnd::kComplete);
        return;
    }
    for (std::string datagram; !(datagram = socket_.ReadAll(kMaxReplyBytes)).empty();) {
        if (ntp_.Received(datagram))
            return Finish(ExchangeEnd::kComplete);
    }
}

void TimeSync::OnClosedByPeer() {
    if (socket_.IsClosed())
        return;
    ReadWaiting();
    Finish(ExchangeEnd::kClosedByPeer);
}

void TimeSync::OnReplyTimeout() {
    if (socket_.IsClosed())
        return;
    ReadWaiting();
    Finish(ExchangeEnd::kTimedOut);
}

void TimeSync::ReadWaiting() {
    if (!Datagrams() && exchange_.Room() > 0)
        exchange_.Received(socket_.ReadAll(exchange_.Room()));
}

void TimeSync::Finish(ExchangeEnd end) {
    replyTimeout_.Stop();
    socket_.Close();
    const TimeReading reading = Datagrams() ? ntp_.Finish(end) : exchange_.Finish(end);
    TimeSyncOutcome outcome;
    outcome.kind = KindOf(reading.status);
    outcome.server = ServerName(servers_[serverIndex_]);
    if (reading.status != ReadingStatus::kTime) {
        if (serverIndex_ + 1 < servers_.size()) {
            ++serverIndex_;
            return AskServer();
        }
        return Report(outcome, trigger_);
    }

    outcome.offsetMilliseconds = reading.offsetMilliseconds;
    outcome.serverTime = reading.local;
    outcome.computerTime =
        CivilMoment(CivilMilliseconds(reading.local) - reading.offsetMilliseconds);
    switch (JudgeStep(reading)) {
        case StepVerdict::kNever:
            outcome.kind = TimeSyncOutcome::Kind::kUntrustedYear;
            return Report(outcome, trigger_);
        case StepVerdict::kAskFirst:
            if (trigger_ == SyncTrigger::kTimer) {
                outcome.kind = TimeSyncOutcome::Kind::kTooFar;
                outcome.toldBefore =
                    toldOffset_ && SameOffset(*toldOffset_, outcome.offsetMilliseconds);
                toldOffset_ = outcome.offsetMilliseconds;
                return Report(outcome, trigger_);
            }
            // The person sees both times now: the hourly synchronisation need not tell again.
            toldOffset_ = outcome.offsetMilliseconds;
            largeStep_ = reading;
            largeStepOutcome_ = outcome;
            if (listener_ != nullptr)
                listener_->OnLargeStepQuestion(outcome);
            return;
        case StepVerdict::kApply:
            break;
    }
    SetClock(reading, reading.value, outcome, trigger_);
}

void TimeSync::OnLargeStepAnswered(bool yes) {
    if (!largeStep_)
        return;
    const TimeReading reading = *std::exchange(largeStep_, std::nullopt);
    if (!yes) {
        largeStepOutcome_.kind = TimeSyncOutcome::Kind::kDeclined;
        return Report(largeStepOutcome_, SyncTrigger::kMenu);
    }
    // The question may have stood a while: the server's time is taken as it is now.
    const std::optional<ClockValue> value = ServerTimeNow(zoneClock_, reading);
    if (!value) {
        largeStepOutcome_.kind = TimeSyncOutcome::Kind::kClockRefused;
        return Report(largeStepOutcome_, SyncTrigger::kMenu);
    }
    SetClock(reading, *value, largeStepOutcome_, SyncTrigger::kMenu);
}

void TimeSync::SetClock(const TimeReading& reading, const ClockValue& value,
                        TimeSyncOutcome outcome, SyncTrigger trigger) {
    largeStep_.reset();  // measured against the clock as it was before this setting
    toldOffset_.reset();
    const ClockSetResult result = clock_.SetClock(
        value, reading.utc ? ClockBase::kUtc : ClockBase::kLocal, trigger == SyncTrigger::kMenu);
    if (result == ClockSetResult::kAsked) {
        awaitingAnswer_ = true;
        answerOutcome_ = outcome;
        answerTrigger_ = trigger;
        return;
    }
    outcome.kind = KindOf(result);
    Report(outcome, trigger);
}

void TimeSync::OnClockSetAnswered(ClockSetResult result) {
    if (!awaitingAnswer_)
        return;
    awaitingAnswer_ = false;
    answerOutcome_.kind = KindOf(result);
    Report(answerOutcome_, answerTrigger_);
}

void TimeSync::Report(TimeSyncOutcome outcome, SyncTrigger trigger) {
    if (listener_ != nullptr)
        listener_->OnTimeSyncFinished(outcome, trigger);
}

}  // namespace horalia
