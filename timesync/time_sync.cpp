#include "timesync/time_sync.h"

#include <utility>

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
      exchange_(zoneClock),
      server_(std::move(server)) {}

void TimeSync::RequestTimeSync(SyncTrigger trigger) {
    if (!socket_.IsClosed()) {
        // The previous exchange is still open; the person who asked will hear how it ends.
        if (trigger == SyncTrigger::kMenu)
            trigger_ = trigger;
        return;
    }
    trigger_ = trigger;
    exchange_.Begin();
    socket_.Connect(server_.host, server_.port);
    replyTimeout_.Start(kReplyTimeoutMilliseconds);
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
    if (!socket_.IsClosed())
        exchange_.Connected();
}

void TimeSync::OnConnectFailed() {
    if (!socket_.IsClosed())
        Finish(ExchangeEnd::kConnectFailed);
}

void TimeSync::OnDataArrival(std::int32_t /*bytesTotal*/) {
    if (socket_.IsClosed())
        return;
    if (exchange_.Received(socket_.ReadAll(exchange_.Room())))
        Finish(ExchangeEnd::kComplete);
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
    if (exchange_.Room() > 0)
        exchange_.Received(socket_.ReadAll(exchange_.Room()));
}

void TimeSync::Finish(ExchangeEnd end) {
    replyTimeout_.Stop();
    socket_.Close();
    const TimeReading reading = exchange_.Finish(end);
    if (reading.status != ReadingStatus::kTime)
        return Report(KindOf(reading.status), 0, trigger_);

    const ClockSetResult result =
        clock_.SetClock(reading.value, reading.utc ? ClockBase::kUtc : ClockBase::kLocal,
                        trigger_ == SyncTrigger::kMenu);
    if (result == ClockSetResult::kAsked) {
        awaitingAnswer_ = true;
        answerOffset_ = reading.offsetMilliseconds;
        answerTrigger_ = trigger_;
        return;
    }
    Report(KindOf(result), reading.offsetMilliseconds, trigger_);
}

void TimeSync::OnClockSetAnswered(ClockSetResult result) {
    if (!awaitingAnswer_)
        return;
    awaitingAnswer_ = false;
    Report(KindOf(result), answerOffset_, answerTrigger_);
}

void TimeSync::Report(TimeSyncOutcome::Kind kind, std::int64_t offset, SyncTrigger trigger) {
    if (listener_ != nullptr)
        listener_->OnTimeSyncFinished({kind, offset}, trigger);
}

}  // namespace horalia
