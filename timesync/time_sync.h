// Setting the clock from a Daytime server: the main form's socket, its reply handling and the
// tick counter of Timer_自动校时, behind small ports that each platform implements.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/zone_clock.h"
#include "timesync/daytime.h"
#include "timesync/daytime_exchange.h"
#include "timesync/ntp.h"

namespace horalia {

// Daytime's TCP stream, or NTP's UDP datagrams.
enum class Transport { kStream, kDatagram };

// A client socket: on a stream it only connects, receives and closes, and nothing is ever sent;
// on datagrams it sends the one request. Its outcome comes back later, on the user-interface
// thread, through TimeSocketEvents.
class TimeSocket {
  public:
    virtual ~TimeSocket() = default;
    // True before the first Connect and after Close; false while resolving, connecting,
    // connected, or failed and not yet closed.
    virtual bool IsClosed() const = 0;
    // Resolves and connects in the background and returns at once (a datagram socket is
    // connected once its peer's address is known). A failure is reported as OnConnectFailed,
    // never from inside this call.
    virtual void Connect(const std::string& host, std::uint16_t port, Transport transport) = 0;
    // Datagrams only, once connected: sends one.
    virtual void Send(std::string_view datagram) = 0;
    // A stream: what has arrived so far, at most maxBytes of it; the rest is left unread.
    // Datagrams: the next one waiting (cut to maxBytes), or "" when none is.
    virtual std::string ReadAll(std::size_t maxBytes) = 0;
    // Drops the connection and any resolution under way; the socket is closed afterwards.
    virtual void Close() = 0;
};

enum class ClockBase { kLocal, kUtc };

enum class ClockSetResult {
    kSet,           // the clock now shows the value
    kLeftToSystem,  // the system keeps its clock in sync itself (NTP): nothing was changed
    kNotAllowed,    // the right to set the clock is missing
    kRefused,       // the system rejected the value
    kAsked,         // the system asks the person first; the answer comes later
};

class ClockSetter {
  public:
    virtual ~ClockSetter() = default;
    // Sets the computer's clock to a local or a UTC value (milliseconds included). mayAsk: the
    // person asked for this, so the system may ask them for authorisation; otherwise it must not
    // interrupt them. After kAsked the final result is handed to TimeSync::OnClockSetAnswered.
    virtual ClockSetResult SetClock(const ClockValue& value, ClockBase base, bool mayAsk) = 0;
};

class OneShotTimer {
  public:
    virtual ~OneShotTimer() = default;
    // (Re)arms the timer; it fires once, as OnReplyTimeout, unless stopped first.
    virtual void Start(std::int32_t milliseconds) = 0;
    virtual void Stop() = 0;
};

// Where the platform's socket and reply timer deliver their events.
class TimeSocketEvents {
  public:
    virtual ~TimeSocketEvents() = default;
    virtual void OnConnected() = 0;
    virtual void OnConnectFailed() = 0;
    virtual void OnDataArrival(std::int32_t bytesTotal) = 0;
    virtual void OnClosedByPeer() = 0;
    virtual void OnReplyTimeout() = 0;
};

// Who asked for a synchronisation: the person, through the tray menu, or the hourly timer.
enum class SyncTrigger { kMenu, kTimer };

struct TimeSyncOutcome {
    enum class Kind {
        kClockSet,
        kLeftToSystem,
        kNotAllowed,
        kClockRefused,
        kUnreachable,
        kNoAnswer,  // silent, or closed without sending anything
        kNotUnderstood,
        kUnhealthy,
        kTooFar,         // hourly: the offset is over the automatic bound, the clock is left
        kUntrustedYear,  // the server's year is outside 2020..2100: no path takes it
        kDeclined,       // the person answered no to the question before a large step
        kRefused,        // an NTP server's kiss-o'-death
    };
    Kind kind = Kind::kNotUnderstood;
    // The server's time minus this computer's, as found before any setting; 0 when no time was
    // understood.
    std::int64_t offsetMilliseconds = 0;
    // When a time was understood: the server's and this computer's, as local time.
    Moment serverTime{};
    Moment computerTime{};
    // kTooFar: this offset was reported by an earlier hourly synchronisation already.
    bool toldBefore = false;
    // The server that answered, or the last one asked (ServerName).
    std::string server{};

    friend bool operator==(const TimeSyncOutcome&, const TimeSyncOutcome&) = default;
};

class TimeSyncListener {
  public:
    virtual ~TimeSyncListener() = default;
    // Once per exchange, when it and any setting of the clock have ended.
    virtual void OnTimeSyncFinished(const TimeSyncOutcome& outcome, SyncTrigger trigger) = 0;
    // The person asked, and the server's time is over the automatic bound away: the answer,
    // whenever it comes, goes to TimeSync::OnLargeStepAnswered.
    virtual void OnLargeStepQuestion(const TimeSyncOutcome& outcome) = 0;
};

// Timer_自动校时 ticks once a second, so a request every 3,601 ticks is about hourly.
inline constexpr std::int32_t kSyncTimerIntervalMilliseconds = 1000;
inline constexpr std::int32_t kTicksBetweenSyncs = 3600;

// One exchange at a time: a request is ignored while the socket is not closed. Every way an
// exchange can end (a complete reply, a failed connection, the server closing, the timeout)
// closes the socket, so the next request always connects anew. With several servers, each is
// asked in turn, with a timeout of its own, until one gives a time.
class TimeSync : public TimeSocketEvents {
  public:
    TimeSync(TimeSocket& socket, ClockSetter& clock, OneShotTimer& replyTimeout,
             const ZoneClock& zoneClock, ServerAddress server = ConfiguredTimeServer());

    // Where outcomes go; none by default.
    void SetListener(TimeSyncListener* listener) { listener_ = listener; }
    // The servers the next request asks, in order (ParseTimeServerList); an empty list keeps
    // those there are. An exchange that is open goes on with the servers it began with.
    void SetServers(std::vector<ServerAddress> servers);

    // The tray entry 托盘图标_网络校时, and every 3,601st tick. A request from the menu while an
    // exchange is open makes no second connection, but the open one's outcome is then reported
    // as the menu's.
    void RequestTimeSync(SyncTrigger trigger = SyncTrigger::kMenu);
    // A tick of Timer_自动校时.
    void OnSyncTimerTick();

    void OnConnected() override;
    void OnConnectFailed() override;
    // Winsock_时间同步's data event: the reply is read until its line ends, the server closes,
    // 4 KiB have arrived or the time runs out.
    void OnDataArrival(std::int32_t bytesTotal) override;
    void OnClosedByPeer() override;
    void OnReplyTimeout() override;

    // The final answer after ClockSetResult::kAsked.
    void OnClockSetAnswered(ClockSetResult result);
    // The person's answer to OnLargeStepQuestion: yes sets the clock to the server's time as it
    // is now. An answer after another exchange has set the clock is ignored.
    void OnLargeStepAnswered(bool yes);

    std::int32_t SyncTickCount() const { return syncTickCount_; }

  private:
    void ReadWaiting();
    void AskServer();
    bool Datagrams() const;
    void Finish(ExchangeEnd end);
    void SetClock(const TimeReading& reading, const ClockValue& value, TimeSyncOutcome outcome,
                  SyncTrigger trigger);
    void Report(TimeSyncOutcome outcome, SyncTrigger trigger);

    TimeSocket& socket_;
    ClockSetter& clock_;
    OneShotTimer& replyTimeout_;
    const ZoneClock& zoneClock_;
    DaytimeExchange exchange_;
    NtpExchange ntp_;
    std::vector<ServerAddress> servers_;  // those of the open exchange
    std::vector<ServerAddress> nextServers_;
    std::size_t serverIndex_ = 0;
    TimeSyncListener* listener_ = nullptr;
    std::int32_t syncTickCount_ = 0;
    SyncTrigger trigger_ = SyncTrigger::kTimer;
    // A setting the system has still to answer.
    bool awaitingAnswer_ = false;
    TimeSyncOutcome answerOutcome_;
    SyncTrigger answerTrigger_ = SyncTrigger::kTimer;
    // A reading over the bound that waits for the person's yes or no.
    std::optional<TimeReading> largeStep_;
    TimeSyncOutcome largeStepOutcome_;
    // The last offset an hourly synchronisation left alone and reported.
    std::optional<std::int64_t> toldOffset_;
};

}  // namespace horalia
