// The Winsock socket and reply timer against a Daytime server on the loopback interface, with
// messages pumped on the test's thread as the main form's message loop would.
#include "timesync/win32/winsock_time_socket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "fakes/fake_time_sync_ports.h"
#include "fakes/loopback_server.h"
#include "timesync/time_server.h"
#include "timesync/win32/system_clock_setter.h"

namespace horalia::win32 {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;
using testing::kDaytime;
using testing::LoopbackServer;
using testing::UnusedPort;

// Dispatches this thread's messages until `done` holds or `limit` has passed.
// The limit is well below the 10 s reply timeout, so an exchange ended by that timeout fails.
bool PumpUntil(const std::function<bool()>& done, milliseconds limit = milliseconds(5000)) {
    const auto deadline = steady_clock::now() + limit;
    while (!done()) {
        if (steady_clock::now() >= deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

void PumpFor(milliseconds duration) {
    PumpUntil([] { return false; }, duration);
}

class RecordingEvents : public TimeSocketEvents {
  public:
    void OnConnected() override {}
    void OnConnectFailed() override { ++connectFailures; }
    void OnDataArrival(std::int32_t) override {
        if (onData)
            onData();
    }
    void OnClosedByPeer() override { ++peerCloses; }
    void OnReplyTimeout() override { ++timeouts; }

    int connectFailures = 0;
    int peerCloses = 0;
    int timeouts = 0;
    std::function<void()> onData;
};

// A reply in whole seconds stands for the middle of its second.
constexpr ClockValue kServerTime{2026, 12, 0, 6, 15, 40, 7, 500};

class WinsockTimeSyncTest : public ::testing::Test {
  protected:
    // This clock reads the test server's time: no step is large enough to need a question.
    WinsockTimeSyncTest() { zone.now = fakes::UtcAt(2026, 12, 6, 15, 40, 7); }

    void Connect(std::uint16_t port, const std::string& host = "127.0.0.1") {
        sync_ = std::make_unique<TimeSync>(socket, clock, socket.ReplyTimer(), zone,
                                           ServerAddress{host, port});
        socket.SetEvents(sync_.get());
    }
    TimeSync& Sync() { return *sync_; }

    WinsockTimeSocket socket;
    fakes::FakeClockSetter clock;  // records; the real clock is never set
    fakes::FakeZoneClock zone;     // stands still: the value set is the server's time

  private:
    std::unique_ptr<TimeSync> sync_;
};

TEST_F(WinsockTimeSyncTest, DaytimeExchange_SetsTheClockFromTheServersLine) {
    LoopbackServer server(kDaytime, {"06 DEC 2026 15:40:07\r\n"});
    Connect(server.Port());

    Sync().RequestTimeSync();
    EXPECT_FALSE(socket.IsClosed());
    ASSERT_TRUE(PumpUntil([&] { return !clock.calls.empty() && socket.IsClosed(); }));
    ASSERT_EQ(clock.calls.size(), 1u);
    EXPECT_EQ(clock.calls[0].value, kServerTime);

    PumpFor(milliseconds(200));  // the server's close, arriving late, changes nothing
    EXPECT_EQ(clock.calls.size(), 1u);
    EXPECT_TRUE(socket.IsClosed());
}

TEST_F(WinsockTimeSyncTest, ReplyInTwoPieces_IsReadToItsLineEnd) {
    LoopbackServer server(kDaytime, {"06 DEC 2026 |15:40:07\r\n"});
    Connect(server.Port());

    Sync().RequestTimeSync();
    ASSERT_TRUE(PumpUntil([&] { return !clock.calls.empty() && socket.IsClosed(); }));
    EXPECT_EQ(clock.calls[0].value, kServerTime);
}

TEST_F(WinsockTimeSyncTest, ServerClosesWithoutSending_ClosesAndNextRequestReconnects) {
    LoopbackServer server(kDaytime, {"", "06 DEC 2026 15:40:07\r\n"});
    Connect(server.Port(), "localhost");  // a name this time, resolved off the test's thread

    Sync().RequestTimeSync();
    ASSERT_TRUE(PumpUntil([&] { return server.Accepted() == 1 && socket.IsClosed(); }));
    EXPECT_TRUE(clock.calls.empty());

    Sync().RequestTimeSync();
    ASSERT_TRUE(PumpUntil([&] { return !clock.calls.empty() && socket.IsClosed(); }));
    EXPECT_EQ(server.Accepted(), 2);
    EXPECT_EQ(clock.calls[0].value, kServerTime);
}

TEST_F(WinsockTimeSyncTest, ConnectionRefused_Closes) {
    Connect(UnusedPort());
    Sync().RequestTimeSync();
    ASSERT_TRUE(PumpUntil([&] { return socket.IsClosed(); }));
    EXPECT_TRUE(clock.calls.empty());
}

TEST_F(WinsockTimeSyncTest, OversizedReply_ReadsAtMost4KiB) {
    LoopbackServer server(kDaytime, {std::string(20000, 'x')});
    RecordingEvents events;
    std::size_t readSize = 0;
    events.onData = [&] {
        readSize = socket.ReadAll(kMaxReplyBytes).size();
        socket.Close();
    };
    socket.SetEvents(&events);

    socket.Connect("127.0.0.1", server.Port(), Transport::kStream);
    ASSERT_TRUE(PumpUntil([&] { return socket.IsClosed(); }));
    EXPECT_GT(readSize, 0u);
    EXPECT_LE(readSize, kMaxReplyBytes);
}

TEST_F(WinsockTimeSyncTest, ReplyTimer_FiresOnceUnlessStopped) {
    RecordingEvents events;
    socket.SetEvents(&events);

    socket.ReplyTimer().Start(30);
    ASSERT_TRUE(PumpUntil([&] { return events.timeouts > 0; }));
    PumpFor(milliseconds(200));
    EXPECT_EQ(events.timeouts, 1);

    socket.ReplyTimer().Start(30);
    socket.ReplyTimer().Stop();
    PumpFor(milliseconds(200));
    EXPECT_EQ(events.timeouts, 1);
}

TEST(WinsockTimeSocket, DestroyedWhileResolving_LateResultIsHarmless) {
    for (int i = 0; i < 5; ++i) {
        WinsockTimeSocket socket;
        socket.Connect("localhost", 13, Transport::kStream);
    }
    std::this_thread::sleep_for(milliseconds(300));  // resolver threads finish and post nothing
    PumpFor(milliseconds(100));
}

TEST(SystemClockSetter, ToSystemTime_KeepsTheFieldOrder) {
    const SYSTEMTIME time = ToSystemTime({2026, 12, 3, 6, 15, 40, 7, 250});
    EXPECT_EQ(time.wYear, 2026);
    EXPECT_EQ(time.wMonth, 12);
    EXPECT_EQ(time.wDayOfWeek, 3);
    EXPECT_EQ(time.wDay, 6);
    EXPECT_EQ(time.wHour, 15);
    EXPECT_EQ(time.wMinute, 40);
    EXPECT_EQ(time.wSecond, 7);
    EXPECT_EQ(time.wMilliseconds, 250);
}

// A real server on this machine, named by ntp_peers.sh or daytime_peers.sh (Daytime or ntp://):
// the value handed to the clock is this computer's own time, to within Daytime's whole seconds,
// or 10 ms for NTP.
TEST(WinsockRealPeer, RealDaemonsReplyIsThisComputersTime) {
    const char* peer = std::getenv("HORALIA_DAYTIME_PEER");
    if (peer == nullptr)
        GTEST_SKIP() << "no daemon named in HORALIA_DAYTIME_PEER (ntp_peers.sh names one)";
    const auto servers = ParseTimeServerList(peer);
    ASSERT_TRUE(servers.has_value()) << peer;
    const ZoneClock& system = SystemZoneClock();
    WinsockTimeSocket socket;
    fakes::StampingClockSetter setter(system);
    TimeSync sync(socket, setter, socket.ReplyTimer(), system);
    sync.SetServers(*servers);
    socket.SetEvents(&sync);
    sync.RequestTimeSync();
    ASSERT_TRUE(PumpUntil([&] { return setter.expected.has_value(); }));
    socket.SetEvents(nullptr);

    const bool ntp = servers->front().protocol == TimeProtocol::kNtp;
    EXPECT_LE(std::abs(setter.value - *setter.expected), ntp ? 10 : 2000) << peer;
    std::printf("%s: the value set is %lld ms from this computer's time\n", peer,
                static_cast<long long>(setter.value - *setter.expected));
}

}  // namespace
}  // namespace horalia::win32
