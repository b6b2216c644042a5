// Setting the local clock from a Daytime server: the main form's socket, its reply handling and
// the tick counter of Timer_自动校时, behind three small ports that each platform implements.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "timesync/daytime.h"

namespace horalia {

// A TCP client that only connects, receives and closes; nothing is ever sent on it.
// Its outcome comes back later, on the user-interface thread, through TimeSocketEvents.
class TimeSocket {
  public:
    virtual ~TimeSocket() = default;
    // True before the first Connect and after Close; false while resolving, connecting,
    // connected, or failed and not yet closed.
    virtual bool IsClosed() const = 0;
    // Resolves and connects in the background and returns at once. A failure is reported as
    // OnConnectFailed, never from inside this call.
    virtual void Connect(const std::string& host, std::uint16_t port) = 0;
    // What has arrived so far, at most maxBytes of it; the rest is left unread.
    virtual std::string ReadAll(std::size_t maxBytes) = 0;
    // Drops the connection and any resolution under way; the socket is closed afterwards.
    virtual void Close() = 0;
};

class LocalClockSetter {
  public:
    virtual ~LocalClockSetter() = default;
    // True when the clock was set; false when refused (no right, impossible value).
    virtual bool SetLocalClock(const ClockValue& value) = 0;
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
    virtual void OnConnectFailed() = 0;
    virtual void OnDataArrival(std::int32_t bytesTotal) = 0;
    virtual void OnClosedByPeer() = 0;
    virtual void OnReplyTimeout() = 0;
};

// How long one exchange may take from the request to the reply before it is given up.
inline constexpr std::int32_t kReplyTimeoutMilliseconds = 10000;
// Timer_自动校时 ticks once a second, so a request every 3,601 ticks is about hourly.
inline constexpr std::int32_t kSyncTimerIntervalMilliseconds = 1000;
inline constexpr std::int32_t kTicksBetweenSyncs = 3600;

// One exchange at a time: a request is ignored while the socket is not closed. Every way an
// exchange can end (a reply, a failed connection, the server closing, the timeout) closes the
// socket, so the next request always connects anew.
class TimeSync : public TimeSocketEvents {
  public:
    TimeSync(TimeSocket& socket, LocalClockSetter& clock, OneShotTimer& replyTimeout,
             std::string host = kTimeServerHost, std::uint16_t port = kDaytimePort);

    // The tray entry 托盘图标_网络校时, and every 3,601st tick.
    void RequestTimeSync();
    // A tick of Timer_自动校时.
    void OnSyncTimerTick();

    // Winsock_时间同步's data event: what has arrived is taken as the whole reply.
    void OnDataArrival(std::int32_t bytesTotal) override;
    void OnConnectFailed() override;
    // A server that closes before its data was handled: whatever is waiting is the reply.
    void OnClosedByPeer() override;
    void OnReplyTimeout() override;

    std::int32_t SyncTickCount() const { return syncTickCount_; }

  private:
    void HandleWaitingReply();
    void EndExchange();

    TimeSocket& socket_;
    LocalClockSetter& clock_;
    OneShotTimer& replyTimeout_;
    std::string host_;
    std::uint16_t port_;
    std::int32_t syncTickCount_ = 0;
};

}  // namespace horalia
