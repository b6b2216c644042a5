#include "timesync/time_sync.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fakes/fake_time_sync_ports.h"

namespace horalia {
namespace {

class TimeSyncTest : public ::testing::Test {
  protected:
    void Tick(int times) {
        for (int i = 0; i < times; ++i)
            sync.OnSyncTimerTick();
    }

    // The server's line arrives and the socket reports it.
    void Reply(const std::string& text) {
        socket.waiting = text;
        sync.OnDataArrival(static_cast<std::int32_t>(text.size()));
    }

    std::size_t Connections() const { return socket.connections.size(); }

    fakes::FakeTimeSocket socket;
    fakes::FakeClockSetter clock;
    fakes::FakeOneShotTimer timer;
    TimeSync sync{socket, clock, timer, "daytime.test", 1313};
};

TEST_F(TimeSyncTest, OnSyncTimerTick_RequestsOnEvery3601stTick) {
    Tick(3600);
    EXPECT_EQ(Connections(), 0u);
    EXPECT_EQ(sync.SyncTickCount(), 3600);

    Tick(1);
    ASSERT_EQ(Connections(), 1u);
    EXPECT_EQ(socket.connections[0].host, "daytime.test");
    EXPECT_EQ(socket.connections[0].port, 1313);
    EXPECT_EQ(sync.SyncTickCount(), 0);

    Reply("06 DEC 2026 15:40:07\r\n");
    Tick(3600);
    EXPECT_EQ(Connections(), 1u);
    Tick(1);
    EXPECT_EQ(Connections(), 2u);
}

TEST_F(TimeSyncTest, RequestTimeSync_IgnoresRequestsWhileAnExchangeIsOpen) {
    sync.RequestTimeSync();
    sync.RequestTimeSync();
    EXPECT_EQ(Connections(), 1u);

    Reply("06 DEC 2026 15:40:07");
    sync.RequestTimeSync();
    EXPECT_EQ(Connections(), 2u);
}

TEST_F(TimeSyncTest, RequestTimeSync_ManualRequestKeepsTheTickCount) {
    Tick(3000);
    sync.RequestTimeSync();
    EXPECT_EQ(sync.SyncTickCount(), 3000);
    Reply("06 DEC 2026 15:40:07");

    Tick(600);
    EXPECT_EQ(Connections(), 1u);
    Tick(1);
    EXPECT_EQ(Connections(), 2u);
}

TEST_F(TimeSyncTest, OnSyncTimerTick_AutomaticRequestIgnoredWhileManualOneIsOpen) {
    Tick(3600);
    sync.RequestTimeSync();
    Tick(1);
    EXPECT_EQ(Connections(), 1u);
    EXPECT_EQ(sync.SyncTickCount(), 0);  // the trigger still restarts the count
}

TEST_F(TimeSyncTest, OnDataArrival_SetsTheClockFromAValidReply) {
    const std::pair<std::string, ClockValue> cases[] = {
        {"6 dec 2026 8:05:09 and more text", {2026, 12, 0, 6, 8, 5, 9, 0}},
        {"06 DEC 2026 15:40:07\r\n", {2026, 12, 0, 6, 15, 40, 7, 0}},
        {"30 SEPT 2026 23:59:59", {2026, 9, 0, 30, 23, 59, 59, 0}},
    };
    for (const auto& [reply, expected] : cases) {
        clock.values.clear();
        sync.RequestTimeSync();
        Reply(reply);
        ASSERT_EQ(clock.values.size(), 1u) << reply;
        EXPECT_EQ(clock.values[0], expected) << reply;
        EXPECT_TRUE(socket.closed) << reply;
        EXPECT_FALSE(timer.running) << reply;
    }
}

TEST_F(TimeSyncTest, OnDataArrival_BadReplyNeverReachesTheClock) {
    const std::string cases[] = {
        "06 SEP 2026 15:40:07",
        "31 APR 2026 10:00:00",
        "06 DEC 2026 24:00:00",
        "06 DEC 2026",
        "06 DEC 20",  // the rest of a split line is not waited for
        "",
        "61014 26-12-06 15:40:07 00 0 0 895.5 UTC(NIST) *",
    };
    for (const auto& reply : cases) {
        sync.RequestTimeSync();
        Reply(reply);
        EXPECT_TRUE(clock.values.empty()) << reply;
        EXPECT_TRUE(socket.closed) << reply;
        EXPECT_FALSE(timer.running) << reply;
    }
    EXPECT_EQ(Connections(), std::size(cases));
}

TEST_F(TimeSyncTest, OnDataArrival_ClosesEvenWhenTheClockRefuses) {
    clock.accept = false;
    sync.RequestTimeSync();
    Reply("06 DEC 2026 15:40:07");
    EXPECT_EQ(clock.values.size(), 1u);
    EXPECT_TRUE(socket.closed);
    sync.RequestTimeSync();
    EXPECT_EQ(Connections(), 2u);
}

TEST_F(TimeSyncTest, OnDataArrival_ReadsAtMost4KiB) {
    sync.RequestTimeSync();
    Reply("06 DEC 2026 15:40:07 " + std::string(100000, 'x'));
    ASSERT_EQ(socket.readLimits.size(), 1u);
    EXPECT_EQ(socket.readLimits[0], 4096u);
    EXPECT_EQ(clock.values.size(), 1u);  // the line itself is within the limit
    EXPECT_TRUE(socket.closed);
}

TEST_F(TimeSyncTest, EventsAfterTheExchangeEndedAreIgnored) {
    sync.RequestTimeSync();
    Reply("06 DEC 2026 15:40:07");
    const int closes = socket.closeCalls;

    socket.waiting = "07 DEC 2026 15:40:07";
    sync.OnDataArrival(20);
    sync.OnClosedByPeer();
    EXPECT_EQ(clock.values.size(), 1u);
    EXPECT_EQ(socket.readLimits.size(), 1u);
    EXPECT_EQ(socket.closeCalls, closes);
}

// Each way an exchange can fail closes the socket, so the next request connects again.
TEST_F(TimeSyncTest, FailedExchangeClosesAndAllowsReconnect) {
    const std::pair<const char*, std::function<void()>> failures[] = {
        {"connection failed", [&] { sync.OnConnectFailed(); }},
        {"closed without sending", [&] { sync.OnClosedByPeer(); }},
        {"no reply in time", [&] { sync.OnReplyTimeout(); }},
    };
    for (const auto& [name, fail] : failures) {
        const std::size_t before = Connections();
        sync.RequestTimeSync();
        EXPECT_TRUE(timer.running);
        EXPECT_EQ(timer.lastMilliseconds, 10000);
        fail();
        EXPECT_TRUE(socket.closed) << name;
        EXPECT_FALSE(timer.running) << name;
        EXPECT_TRUE(clock.values.empty()) << name;
        sync.RequestTimeSync();
        EXPECT_EQ(Connections(), before + 2) << name;
        Reply("06 DEC 2026 15:40:07");
        clock.values.clear();
    }
}

TEST_F(TimeSyncTest, OnClosedByPeer_TakesWhatIsWaitingAsTheReply) {
    sync.RequestTimeSync();
    socket.waiting = "06 DEC 2026 15:40:07\r\n";
    sync.OnClosedByPeer();
    ASSERT_EQ(clock.values.size(), 1u);
    EXPECT_EQ(clock.values[0], (ClockValue{2026, 12, 0, 6, 15, 40, 7, 0}));
    EXPECT_TRUE(socket.closed);
}

}  // namespace
}  // namespace horalia
