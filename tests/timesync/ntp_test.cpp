#include "timesync/ntp.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fakes/fake_time_sync_ports.h"
#include "timesync/time_server.h"
#include "timesync/time_sync.h"

namespace horalia {
namespace {

using fakes::UtcAt;

// A server's reply as RFC 5905's packet layout has it: LI VN Mode, stratum, poll, precision,
// root delay, root dispersion, reference id, then the reference, origin, receive and transmit
// timestamps.
struct Packet {
    int leap = 0, version = 4, mode = 4, stratum = 2;
    std::string refid = "GPS";
    NtpTimestamp origin, receive, transmit;

    std::string Bytes() const {
        std::string b(kNtpPacketBytes, '\0');
        b[0] = static_cast<char>((leap << 6) | (version << 3) | mode);
        b[1] = static_cast<char>(stratum);
        b.replace(12, refid.size(), refid);
        const auto put = [&b](std::size_t at, NtpTimestamp t) {
            for (int i = 0; i < 4; ++i) {
                b[at + i] = static_cast<char>(t.seconds >> (24 - 8 * i));
                b[at + 4 + i] = static_cast<char>(t.fraction >> (24 - 8 * i));
            }
        };
        put(24, origin);
        put(32, receive);
        put(40, transmit);
        return b;
    }
};

// The transmit timestamp of a request, which the server's reply echoes as its origin.
NtpTimestamp TransmitOf(const std::string& request) {
    NtpTimestamp t;
    for (int i = 0; i < 4; ++i) {
        t.seconds = (t.seconds << 8) | static_cast<unsigned char>(request[40 + i]);
        t.fraction = (t.fraction << 8) | static_cast<unsigned char>(request[44 + i]);
    }
    return t;
}

// The NTP era starts on 1900-01-01 and wraps on 2036-02-07 06:28:16 UTC.
TEST(NtpTimestamp, CountsFrom1900AndTakesTheEraNearestTheClock) {
    EXPECT_EQ(ToNtpTimestamp(0), (NtpTimestamp{2208988800u, 0}));
    EXPECT_EQ(ToNtpTimestamp(1500), (NtpTimestamp{2208988801u, 0x80000000u}));
    const UtcMilliseconds wrap = UtcAt(2036, 2, 7, 6, 28, 16);
    EXPECT_EQ(ToNtpTimestamp(wrap), (NtpTimestamp{0, 0}));
    EXPECT_EQ(NtpMicroseconds({0, 0}, wrap + 1000), wrap * 1000);
    EXPECT_EQ(NtpMicroseconds({0xFFFFFFFFu, 0}, wrap + 1000), (wrap - 1000) * 1000);
    EXPECT_EQ(NtpMicroseconds({0xFFFFFFFFu, 0}, wrap - 5000), (wrap - 1000) * 1000);
    const UtcMilliseconds now = UtcAt(2026, 12, 8, 5, 4, 56, 250);
    EXPECT_EQ(NtpMicroseconds(ToNtpTimestamp(now), now), now * 1000);

    const std::string request = MakeNtpRequest({0x01020304u, 0x05060708u});
    ASSERT_EQ(request.size(), 48u);
    EXPECT_EQ(request[0], 0x23);  // leap 0, version 4, mode 3 (client)
    EXPECT_EQ(request.substr(40), "\x01\x02\x03\x04\x05\x06\x07\x08");
    EXPECT_EQ(request.substr(1, 39), std::string(39, '\0'));
}

TEST(ReadNtpReply, ComputesOffsetAndDelayAndRefusesWhatIsNotAGoodAnswer) {
    using Status = NtpReply::Status;
    const UtcMilliseconds t1 = UtcAt(2026, 12, 8, 5, 4, 56);
    const NtpTimestamp sent = ToNtpTimestamp(t1);
    Packet good;
    good.origin = sent;
    good.receive = ToNtpTimestamp(t1 + 1000010);   // the server is 1000 s ahead
    good.transmit = ToNtpTimestamp(t1 + 1000011);  // and took 1 ms
    const UtcMilliseconds t4 = t1 + 20;

    const NtpReply r = ReadNtpReply(good.Bytes(), sent, t4);
    EXPECT_EQ(r.status, Status::kTime);
    EXPECT_EQ(r.offsetMicroseconds, 1000000500);  // ((T2 - T1) + (T3 - T4)) / 2
    EXPECT_EQ(r.delayMicroseconds, 19000);        // (T4 - T1) - (T3 - T2)
    EXPECT_EQ(ReadNtpReply(good.Bytes() + "extension", sent, t4).status, Status::kTime);

    struct Case {
        const char* name;
        std::function<void(Packet&)> change;
        Status status;
    };
    const Case cases[] = {
        {"version 3", [](Packet& p) { p.version = 3; }, Status::kTime},
        {"kiss-o'-death", [](Packet& p) { p.stratum = 0, p.refid = "RATE"; }, Status::kKissOfDeath},
        {"stratum 16", [](Packet& p) { p.stratum = 16; }, Status::kUnsynchronised},
        {"leap indicator 3", [](Packet& p) { p.leap = 3; }, Status::kUnsynchronised},
        {"leap second to come", [](Packet& p) { p.leap = 1; }, Status::kTime},
        {"another request's", [](Packet& p) { p.origin.fraction ^= 1; }, Status::kNotOurs},
        {"no origin", [](Packet& p) { p.origin = {}; }, Status::kNotOurs},
        {"a client's packet", [](Packet& p) { p.mode = 3; }, Status::kNotAReply},
        {"broadcast", [](Packet& p) { p.mode = 5; }, Status::kNotAReply},
        {"version 2", [](Packet& p) { p.version = 2; }, Status::kNotAReply},
        {"no transmit time", [](Packet& p) { p.transmit = {}; }, Status::kNotAReply},
        {"no receive time", [](Packet& p) { p.receive = {}; }, Status::kNotAReply},
        {"sent before received", [&](Packet& p) { p.transmit = ToNtpTimestamp(t1 + 1000009); },
         Status::kNotAReply},
    };
    for (const Case& c : cases) {
        Packet p = good;
        c.change(p);
        const NtpReply reply = ReadNtpReply(p.Bytes(), sent, t4);
        EXPECT_EQ(reply.status, c.status) << c.name;
        if (c.status == Status::kKissOfDeath) {
            EXPECT_EQ(reply.kissCode, "RATE");
        }
    }
    EXPECT_EQ(ReadNtpReply(good.Bytes().substr(0, 47), sent, t4).status, Status::kNotAReply);
}

TEST(ParseTimeServerList, ReadsHostsPortsAndSchemes) {
    using P = TimeProtocol;
    struct Case {
        const char* text;
        std::vector<ServerAddress> servers;
    };
    const Case cases[] = {
        {"", {ConfiguredTimeServer()}},
        {"  ", {ConfiguredTimeServer()}},
        {"time.nist.gov", {{"time.nist.gov", 13, P::kDaytime}}},
        {"ntp://ntp.ntsc.ac.cn", {{"ntp.ntsc.ac.cn", 123, P::kNtp}}},
        {"NTP://cn.pool.ntp.org/, daytime://127.0.0.1:1313 ,[::1]:13,ntp://[::1]:4123",
         {{"cn.pool.ntp.org", 123, P::kNtp},
          {"127.0.0.1", 1313, P::kDaytime},
          {"::1", 13, P::kDaytime},
          {"::1", 4123, P::kNtp}}},
        {"ntp://127.0.0.1:13", {{"127.0.0.1", 13, P::kNtp}}},
        {"ntp://a， b,c", {{"a", 123, P::kNtp}, {"b", 13, P::kDaytime}, {"c", 13, P::kDaytime}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseTimeServerList(c.text), c.servers) << c.text;
        EXPECT_EQ(TimeServersOrBuiltIn(c.text), c.servers) << c.text;
    }
    for (const char* bad : {"a,,b", "a,", ",a", "http://a", "ntp://", "ntp://a:0", "a b",
                            "ntp://[::1", "a:70000", "ntp:/a", "a，，b", "a，"}) {
        EXPECT_FALSE(ParseTimeServerList(bad).has_value()) << bad;
        EXPECT_EQ(TimeServersOrBuiltIn(bad), std::vector{ConfiguredTimeServer()}) << bad;
    }
    EXPECT_EQ(ServerName({"time.nist.gov", 13, P::kDaytime}), "time.nist.gov");
    EXPECT_EQ(ServerName({"ntp.ntsc.ac.cn", 123, P::kNtp}), "ntp://ntp.ntsc.ac.cn");
    EXPECT_EQ(ServerName({"::1", 4123, P::kNtp}), "ntp://[::1]:4123");
    EXPECT_EQ(ServerName({"127.0.0.1", 1313, P::kDaytime}), "127.0.0.1:1313");
}

// The tray program's exchange with an NTP server, and the list tried in order: a stray datagram
// is passed over, the answer to the request sets the clock in UTC, and a server that fails hands
// over to the next.
TEST(TimeSyncNtp, SendsTheRequestReadsTheAnswerAndFallsBackToTheNextServer) {
    fakes::FakeTimeSocket socket;
    fakes::FakeClockSetter clock;
    fakes::FakeOneShotTimer timer;
    fakes::FakeZoneClock zone;
    fakes::RecordingSyncListener listener;
    TimeSync sync(socket, clock, timer, zone);
    sync.SetListener(&listener);
    sync.SetServers(*ParseTimeServerList("ntp://down.test, ntp://ntp.test:4123"));

    zone.now = UtcAt(2026, 12, 8, 5, 4, 56);
    sync.RequestTimeSync(SyncTrigger::kTimer);
    sync.OnConnectFailed();
    ASSERT_EQ(socket.connections.size(), 2u);
    EXPECT_EQ(socket.connections[1].host, "ntp.test");
    EXPECT_EQ(socket.connections[1].port, 4123);
    EXPECT_EQ(socket.connections[1].transport, Transport::kDatagram);
    EXPECT_TRUE(listener.outcomes.empty());

    sync.OnConnected();
    ASSERT_EQ(socket.sent.size(), 1u);
    const std::string& request = socket.sent[0];
    ASSERT_EQ(request.size(), 48u);
    EXPECT_EQ(request[0], 0x23);
    Packet reply;
    reply.origin = TransmitOf(request);
    reply.receive = ToNtpTimestamp(zone.now + 2010);  // 2 s ahead, 10 ms each way
    reply.transmit = ToNtpTimestamp(zone.now + 2011);
    Packet stray = reply;
    stray.origin.seconds += 1;
    zone.now += 21;
    socket.datagrams = {stray.Bytes(), reply.Bytes()};
    sync.OnDataArrival(96);

    ASSERT_EQ(listener.outcomes.size(), 1u);
    EXPECT_EQ(listener.outcomes[0].kind, TimeSyncOutcome::Kind::kClockSet);
    EXPECT_EQ(listener.outcomes[0].offsetMilliseconds, 2000);
    EXPECT_EQ(listener.outcomes[0].server, "ntp://ntp.test:4123");
    ASSERT_EQ(clock.calls.size(), 1u);
    EXPECT_EQ(clock.calls[0].base, ClockBase::kUtc);
    EXPECT_EQ(clock.calls[0].value, (ClockValue{2026, 12, 0, 8, 5, 4, 58, 21}));
    EXPECT_TRUE(socket.closed);

    // Only strays until the time runs out: not understood; a kiss-o'-death: refused.
    listener.outcomes.clear();
    sync.SetServers({{"ntp.test", 123, TimeProtocol::kNtp}});
    sync.RequestTimeSync(SyncTrigger::kMenu);
    sync.OnConnected();
    socket.datagrams = {stray.Bytes()};
    sync.OnDataArrival(48);
    sync.OnReplyTimeout();
    sync.RequestTimeSync(SyncTrigger::kMenu);
    sync.OnConnected();
    Packet kiss = reply;
    kiss.origin = TransmitOf(socket.sent.back());
    kiss.stratum = 0;
    kiss.refid = "DENY";
    socket.datagrams = {kiss.Bytes()};
    sync.OnDataArrival(48);
    ASSERT_EQ(listener.outcomes.size(), 2u);
    EXPECT_EQ(listener.outcomes[0].kind, TimeSyncOutcome::Kind::kNotUnderstood);
    EXPECT_EQ(listener.outcomes[1].kind, TimeSyncOutcome::Kind::kRefused);
    EXPECT_EQ(clock.calls.size(), 1u);
}

}  // namespace
}  // namespace horalia
