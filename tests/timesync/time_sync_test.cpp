#include "timesync/time_sync.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fakes/fake_time_sync_ports.h"

namespace horalia {
namespace {

using fakes::UtcAt;
using fakes::ZoneRules;

constexpr char kNist[] = "\n61381 26-12-07 09:07:02 00 0 0 50.0 UTC(NIST) *\n";
// A stamp in whole seconds stands for the middle of its second.
constexpr ClockValue kNistUtc{2026, 12, 0, 7, 9, 7, 2, 500};

class TimeSyncTest : public ::testing::Test {
  protected:
    TimeSyncTest() { sync.SetListener(&listener); }

    void Tick(int times) {
        for (int i = 0; i < times; ++i)
            sync.OnSyncTimerTick();
    }

    // A piece of the server's reply arrives and the socket reports it.
    void Piece(const std::string& text) {
        socket.waiting += text;
        sync.OnDataArrival(static_cast<std::int32_t>(socket.waiting.size()));
    }

    // A whole exchange with the server's line; the connection is made at the zone clock's now.
    void Exchange(const std::string& reply, SyncTrigger trigger = SyncTrigger::kMenu) {
        sync.RequestTimeSync(trigger);
        sync.OnConnected();
        Piece(reply);
    }

    // An exchange with a server in UTC whose time is this clock's plus `offset` milliseconds.
    void ExchangeOffBy(std::int64_t offset, SyncTrigger trigger) {
        zone.now = kServerUtc + 500 - offset;  // the stamp stands for the middle of its second
        Exchange("08 DEC 2026 05:04:56 UTC\r\n", trigger);
    }
    const UtcMilliseconds kServerUtc = UtcAt(2026, 12, 8, 5, 4, 56);

    std::size_t Connections() const { return socket.connections.size(); }

    fakes::FakeTimeSocket socket;
    fakes::FakeClockSetter clock;
    fakes::FakeOneShotTimer timer;
    fakes::FakeZoneClock zone;
    fakes::RecordingSyncListener listener;
    TimeSync sync{socket, clock, timer, zone, {"daytime.test", 1313}};
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

    Piece(kNist);
    Tick(3600);
    EXPECT_EQ(Connections(), 1u);
    Tick(1);
    EXPECT_EQ(Connections(), 2u);
}

TEST_F(TimeSyncTest, RequestTimeSync_OneExchangeAtATimeAndTheManualOneKeepsTheCount) {
    Tick(3000);
    sync.RequestTimeSync();
    sync.RequestTimeSync();
    EXPECT_EQ(Connections(), 1u);
    EXPECT_EQ(sync.SyncTickCount(), 3000);
    Piece(kNist);

    Tick(600);
    sync.RequestTimeSync();
    Tick(1);  // the automatic request finds the manual exchange open
    EXPECT_EQ(Connections(), 2u);
    EXPECT_EQ(sync.SyncTickCount(), 0);
}

// Only the person's requests are reported as theirs, and only then may the system ask them for
// authorisation; choosing the menu entry during an hourly exchange makes that exchange theirs.
TEST_F(TimeSyncTest, OutcomesCarryWhoAsked) {
    Tick(3601);
    Piece(kNist);
    Tick(3601);
    sync.RequestTimeSync(SyncTrigger::kMenu);
    Piece(kNist);
    sync.RequestTimeSync(SyncTrigger::kMenu);
    Tick(3601);
    Piece(kNist);
    EXPECT_EQ(listener.triggers, (std::vector<SyncTrigger>{SyncTrigger::kTimer, SyncTrigger::kMenu,
                                                           SyncTrigger::kMenu}));
    ASSERT_EQ(clock.calls.size(), 3u);
    EXPECT_FALSE(clock.calls[0].mayAsk);
    EXPECT_TRUE(clock.calls[1].mayAsk);
    EXPECT_TRUE(clock.calls[2].mayAsk);
}

TEST_F(TimeSyncTest, NistReplySetsTheClockInUtcHalfTheRoundTripLater) {
    zone.zone = ZoneRules{{{0, 8 * 60}}};
    zone.now = UtcAt(2026, 12, 7, 9, 6, 59, 900);
    sync.RequestTimeSync();
    zone.now += 300;  // the name lookup does not count
    sync.OnConnected();
    zone.now += 100;  // connected to reply: the stamp left 50 ms ago, NIST advanced it by 50
    Piece(kNist);
    ASSERT_EQ(clock.calls.size(), 1u);
    EXPECT_EQ(clock.calls[0].base, ClockBase::kUtc);
    EXPECT_EQ(clock.calls[0].value, kNistUtc);
    ASSERT_EQ(listener.outcomes.size(), 1u);
    EXPECT_EQ(listener.outcomes[0].kind, TimeSyncOutcome::Kind::kClockSet);
    EXPECT_EQ(listener.outcomes[0].offsetMilliseconds, 2500 - 300);
    EXPECT_TRUE(socket.closed);
    EXPECT_FALSE(timer.running);
}

// The line is read until it ends; the clock gets the server's time as it is when the last piece
// has arrived.
TEST_F(TimeSyncTest, ReplyInPiecesIsGatheredUntilTheLineEnds) {
    const std::vector<std::string> layouts[] = {
        {"07 DEC 2026 ", "09:07:02\r\n"},
        {"\n", "61381 26-12-07 09:07:02 00 0 0 0.0 UTC(NIST) *\n"},
        {"\n61381 26-12-07 09:07", ":02 00 0 0 0.0 UTC(NIST) *", "\n"},
    };
    for (const auto& pieces : layouts) {
        SCOPED_TRACE(pieces[0] + pieces[1]);
        clock.calls.clear();
        sync.RequestTimeSync();
        sync.OnConnected();
        for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
            Piece(pieces[i]);
            zone.now += 1000;
            EXPECT_FALSE(socket.closed);
        }
        EXPECT_TRUE(clock.calls.empty());
        Piece(pieces.back());
        ASSERT_EQ(clock.calls.size(), 1u);
        EXPECT_TRUE(socket.closed);
        EXPECT_EQ(clock.calls[0].value.second, 2 + pieces.size() - 1);
    }
}

// What reaches the listener for each way an exchange can end; only a time reaches the clock.
TEST_F(TimeSyncTest, EveryEndOfAnExchangeIsReported) {
    using Kind = TimeSyncOutcome::Kind;
    struct Case {
        const char* name;
        std::function<void()> run;
        Kind kind;
        bool clockSet;
    };
    const Case cases[] = {
        {"refused", [&] { sync.OnConnectFailed(); }, Kind::kUnreachable, false},
        {"silent", [&] { sync.OnReplyTimeout(); }, Kind::kNoAnswer, false},
        {"closed without data", [&] { sync.OnClosedByPeer(); }, Kind::kNoAnswer, false},
        {"line without end, then close",
         [&] {
             Piece("07 DEC 2026 09:00:00");
             sync.OnClosedByPeer();
         },
         Kind::kClockSet, true},
        {"line cut off by the timeout",
         [&] {
             socket.waiting = "07 DEC 2026 09:00:00";
             sync.OnReplyTimeout();
         },
         Kind::kNotUnderstood, false},
        {"garbage", [&] { Piece("HTTP/1.0 400 Bad Request\r\n"); }, Kind::kNotUnderstood, false},
        {"binary", [&] { Piece(std::string("\0\xff\x80 DEC\n", 8)); }, Kind::kNotUnderstood, false},
        {"4 KiB without a line end", [&] { Piece(std::string(5000, '7')); }, Kind::kNotUnderstood,
         false},
        {"SEP",
         [&] {
             zone.now = UtcAt(2026, 9, 15, 10, 0, 0);
             Piece("15 SEP 2026 10:00:01 UTC\r\n");
         },
         Kind::kClockSet, true},
        {"unhealthy NIST", [&] { Piece("\n61381 26-12-07 09:07:02 00 0 2 50.0 UTC(NIST) *\n"); },
         Kind::kUnhealthy, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        listener.outcomes.clear();
        clock.calls.clear();
        sync.RequestTimeSync();
        EXPECT_TRUE(timer.running);
        EXPECT_EQ(timer.lastMilliseconds, 10000);
        c.run();
        ASSERT_EQ(listener.outcomes.size(), 1u);
        EXPECT_EQ(listener.outcomes[0].kind, c.kind);
        EXPECT_EQ(clock.calls.size(), c.clockSet ? 1u : 0u);
        EXPECT_TRUE(socket.closed);
        EXPECT_FALSE(timer.running);
        EXPECT_TRUE(socket.readLimits.empty() || socket.readLimits.back() <= 4096u);
    }
    EXPECT_EQ(Connections(), std::size(cases));
}

TEST_F(TimeSyncTest, ClockSettersAnswerBecomesTheOutcome) {
    using Kind = TimeSyncOutcome::Kind;
    const std::pair<ClockSetResult, Kind> cases[] = {
        {ClockSetResult::kSet, Kind::kClockSet},
        {ClockSetResult::kLeftToSystem, Kind::kLeftToSystem},
        {ClockSetResult::kNotAllowed, Kind::kNotAllowed},
        {ClockSetResult::kRefused, Kind::kClockRefused},
    };
    zone.now = UtcAt(2026, 12, 7, 9, 7, 5);
    for (const auto& [result, kind] : cases) {
        listener.outcomes.clear();
        clock.result = result;
        Exchange(kNist);
        ASSERT_EQ(listener.outcomes.size(), 1u);
        EXPECT_EQ(listener.outcomes[0].kind, kind);
        EXPECT_EQ(listener.outcomes[0].offsetMilliseconds, -2550);
    }

    // Asked, the system answers later; the exchange is over already.
    listener.outcomes.clear();
    clock.result = ClockSetResult::kAsked;
    Exchange(kNist);
    EXPECT_TRUE(listener.outcomes.empty());
    EXPECT_TRUE(socket.closed);
    sync.OnClockSetAnswered(ClockSetResult::kNotAllowed);
    sync.OnClockSetAnswered(ClockSetResult::kSet);  // no second answer to one question
    ASSERT_EQ(listener.outcomes.size(), 1u);
    EXPECT_EQ(listener.outcomes[0].kind, Kind::kNotAllowed);
    EXPECT_EQ(listener.outcomes[0].offsetMilliseconds, -2550);
}

TEST_F(TimeSyncTest, EventsAfterTheExchangeEndedAreIgnored) {
    Exchange(kNist);
    const int closes = socket.closeCalls;

    socket.waiting = kNist;
    sync.OnDataArrival(20);
    sync.OnClosedByPeer();
    sync.OnConnectFailed();
    sync.OnReplyTimeout();
    EXPECT_EQ(clock.calls.size(), 1u);
    EXPECT_EQ(listener.outcomes.size(), 1u);
    EXPECT_EQ(socket.closeCalls, closes);
}

// The hourly synchronisation steps the clock by 1000 s at most; past that the person's own request
// asks first; a year outside 2020..2100 is taken by neither.
TEST_F(TimeSyncTest, LargeStepsWaitForThePersonAndUntrustedYearsForNobody) {
    using Kind = TimeSyncOutcome::Kind;
    constexpr auto kTimer = SyncTrigger::kTimer;
    constexpr auto kMenu = SyncTrigger::kMenu;
    struct Case {
        std::string reply;  // "": 08 DEC 2026 05:04:56 UTC, `offset` from this clock
        std::int64_t offset;
        SyncTrigger trigger;
        std::optional<Kind> kind;  // nothing: the person is asked
        Moment now{};              // for a reply of its own: this clock, in UTC, agreeing with it
    };
    const Case cases[] = {
        {"", 1000000, kTimer, Kind::kClockSet},
        {"", -1000000, kTimer, Kind::kClockSet},
        {"", 1000001, kTimer, Kind::kTooFar},
        {"", -1000001, kTimer, Kind::kTooFar},
        {"", 20 * 3600 * 1000, kTimer, Kind::kTooFar},
        {"", 1000000, kMenu, Kind::kClockSet},
        {"", -1000001, kMenu, std::nullopt},
        {"01 JAN 2020 00:00:00 UTC", 0, kTimer, Kind::kClockSet, {2020, 1, 1, 0, 0, 0, 500}},
        {"31 DEC 2100 23:59:58 UTC", 0, kTimer, Kind::kClockSet, {2100, 12, 31, 23, 59, 58, 500}},
        {"31 DEC 2019 23:59:58 UTC", 0, kMenu, Kind::kUntrustedYear, {2019, 12, 31, 23, 59, 58}},
        {"01 JAN 2101 00:00:00 UTC", 0, kMenu, Kind::kUntrustedYear, {2101, 1, 1, 0, 0, 0}},
        {"19 JAN 2038 03:14:08 UTC", 0, kTimer, Kind::kClockSet, {2038, 1, 19, 3, 14, 8, 500}},
        // NIST's layout dated 2099: within the years, but 73 years from this clock.
        {"\n88045 99-12-08 05:04:56 00 0 0 50.0 UTC(NIST) *\n",
         0,
         kMenu,
         std::nullopt,
         {2026, 12, 8, 5, 4, 56}},
        {"\n88045 99-12-08 05:04:56 00 0 0 50.0 UTC(NIST) *\n",
         0,
         kTimer,
         Kind::kTooFar,
         {2026, 12, 8, 5, 4, 56}},
        {"01 JAN 1 00:00:00 UTC", 0, kMenu, Kind::kUntrustedYear, {1, 1, 1, 0, 0, 0}},
        {"31 DEC 9999 23:59:58 UTC", 0, kMenu, Kind::kUntrustedYear, {9999, 12, 31, 23, 59, 58}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply + " " + std::to_string(c.offset));
        listener.outcomes.clear();
        listener.questions.clear();
        clock.calls.clear();
        if (c.reply.empty()) {
            ExchangeOffBy(c.offset, c.trigger);
        } else {
            zone.now = CivilMilliseconds(c.now);
            Exchange(c.reply + "\r\n", c.trigger);
        }
        EXPECT_EQ(clock.calls.size(), c.kind == Kind::kClockSet ? 1u : 0u);
        EXPECT_EQ(listener.questions.size(), c.kind ? 0u : 1u);
        ASSERT_EQ(listener.outcomes.size(), c.kind ? 1u : 0u);
        if (c.kind) {
            EXPECT_EQ(listener.outcomes[0].kind, *c.kind);
        }
    }
}

TEST_F(TimeSyncTest, TheAnswerToTheQuestionSetsTheServersTimeAsItIsThen) {
    using Kind = TimeSyncOutcome::Kind;
    ExchangeOffBy(-2 * 3600 * 1000, SyncTrigger::kMenu);
    ASSERT_EQ(listener.questions.size(), 1u);
    const TimeSyncOutcome& asked = listener.questions[0];
    EXPECT_EQ(asked.serverTime, (Moment{2026, 12, 8, 5, 4, 56, 500}));
    EXPECT_EQ(asked.computerTime, (Moment{2026, 12, 8, 7, 4, 56, 500}));
    EXPECT_TRUE(clock.calls.empty());

    zone.now += 30000;  // the person reads the question for half a minute
    sync.OnLargeStepAnswered(true);
    sync.OnLargeStepAnswered(true);  // one question, one answer
    ASSERT_EQ(clock.calls.size(), 1u);
    EXPECT_EQ(clock.calls[0].value, (ClockValue{2026, 12, 0, 8, 5, 5, 26, 500}));
    EXPECT_TRUE(clock.calls[0].mayAsk);
    ASSERT_EQ(listener.outcomes.size(), 1u);
    EXPECT_EQ(listener.outcomes[0].kind, Kind::kClockSet);
    EXPECT_EQ(listener.outcomes[0].offsetMilliseconds, -2 * 3600 * 1000);
    EXPECT_EQ(listener.triggers[0], SyncTrigger::kMenu);

    ExchangeOffBy(3600 * 1000, SyncTrigger::kMenu);
    sync.OnLargeStepAnswered(false);
    EXPECT_EQ(clock.calls.size(), 1u);
    EXPECT_EQ(listener.outcomes.back().kind, Kind::kDeclined);
    ExchangeOffBy(3600 * 1000 + 2000, SyncTrigger::kTimer);  // the person knows already
    EXPECT_TRUE(listener.outcomes.back().toldBefore);

    // Another exchange set the clock meanwhile: the old measurement no longer holds.
    ExchangeOffBy(3600 * 1000, SyncTrigger::kMenu);
    ExchangeOffBy(2000, SyncTrigger::kTimer);
    sync.OnLargeStepAnswered(true);
    EXPECT_EQ(clock.calls.size(), 2u);
    EXPECT_EQ(listener.outcomes.size(), 4u);
}

// The hourly synchronisation reports a large offset it leaves alone once, until it differs by a
// minute or more.
TEST_F(TimeSyncTest, TheHourlyOneReportsEachLargeOffsetOnce) {
    const std::pair<std::int64_t, bool> offsetAndToldBefore[] = {
        {3600 * 1000, false}, {3600 * 1000 + 3000, true}, {3600 * 1000 - 50000, true},
        {7200 * 1000, false}, {3600 * 1000, false},
    };
    for (const auto& [offset, toldBefore] : offsetAndToldBefore) {
        listener.outcomes.clear();
        ExchangeOffBy(offset, SyncTrigger::kTimer);
        ASSERT_EQ(listener.outcomes.size(), 1u);
        EXPECT_EQ(listener.outcomes[0].kind, TimeSyncOutcome::Kind::kTooFar);
        EXPECT_EQ(listener.outcomes[0].toldBefore, toldBefore) << offset;
    }
}

// The server's time read in a zone: NIST's UTC and a named zone by the zone's rules, a time
// without its zone as it is. Every reply here is in whole seconds, which stand for the middle of
// their second.
TEST(DaytimeExchange, ReadsTheServersTimeAsLocalTimeAndHowFarThisClockIsOff) {
    const ZoneRules shanghai{{{0, 8 * 60}}};
    const ZoneRules india{{{0, 5 * 60 + 30}}};
    const ZoneRules newfoundland{{{0, -(3 * 60 + 30)}}};
    // Adelaide: +10:30 in its summer until 5 April 2026, +9:30 until 4 October, then +10:30.
    const ZoneRules adelaide{{{0, 10 * 60 + 30},
                              {UtcAt(2026, 4, 4, 16, 30, 0), 9 * 60 + 30},
                              {UtcAt(2026, 10, 3, 16, 30, 0), 10 * 60 + 30}}};
    // Berlin: summer time from 29 March 2026 01:00 UTC to 25 October 01:00 UTC.
    const ZoneRules berlin{
        {{0, 60}, {UtcAt(2026, 3, 29, 1, 0, 0), 120}, {UtcAt(2026, 10, 25, 1, 0, 0), 60}}};
    struct Case {
        const char* name;
        ZoneRules zone;
        UtcMilliseconds arrival;  // the reply arrives, at once after the connection
        std::string reply;
        Moment local;
        std::int64_t offset;
        bool utc;
    };
    const Case cases[] = {
        {"Shanghai",
         shanghai,
         UtcAt(2026, 12, 7, 9, 7, 0),
         kNist,
         {2026, 12, 7, 17, 7, 1, 950},
         1950,
         true},
        {"India, across midnight",
         india,
         UtcAt(2026, 12, 7, 18, 30, 0),
         "61381 26-12-07 18:30:00 00 0 0 0.0 UTC(NIST) *\r\n",
         {2026, 12, 8, 0, 0, 0, 0},
         0,
         true},
        {"Newfoundland, back over the new year",
         newfoundland,
         UtcAt(2027, 1, 1, 2, 0, 3),
         "\n61406 27-01-01 02:00:00 00 0 0 0.0 UTC(NIST) *\n",
         {2026, 12, 31, 22, 30, 0, 0},
         -3000,
         true},
        {"Adelaide summer, into the new year",
         adelaide,
         UtcAt(2026, 12, 31, 13, 45, 0),
         "\n61405 26-12-31 13:45:00 00 0 0 0.0 UTC(NIST) *\n",
         {2027, 1, 1, 0, 15, 0, 0},
         0,
         true},
        {"Adelaide winter",
         adelaide,
         UtcAt(2026, 7, 1, 0, 0, 0),
         "\n61222 26-07-01 00:00:00 50 0 0 0.0 UTC(NIST) *\n",
         {2026, 7, 1, 9, 30, 0, 0},
         0,
         true},
        {"Berlin, last second of winter time",
         berlin,
         UtcAt(2026, 3, 29, 0, 59, 59),
         "\n61128 26-03-29 00:59:59 01 0 0 0.0 UTC(NIST) *\n",
         {2026, 3, 29, 1, 59, 59, 0},
         0,
         true},
        {"Berlin, first second of summer time",
         berlin,
         UtcAt(2026, 3, 29, 1, 0, 0),
         "\n61128 26-03-29 01:00:00 50 0 0 0.0 UTC(NIST) *\n",
         {2026, 3, 29, 3, 0, 0, 0},
         0,
         true},
        {"local layout, this clock behind",
         berlin,
         UtcAt(2026, 12, 7, 16, 7, 0),
         "07 DEC 2026 17:07:02\r\n",
         {2026, 12, 7, 17, 7, 2, 0},
         2000,
         false},
        {"named zone, Shanghai",
         shanghai,
         UtcAt(2026, 12, 8, 5, 4, 56),
         "08 DEC 2026 05:04:56 UTC\r\n",
         {2026, 12, 8, 13, 4, 56, 0},
         0,
         true},
        {"named offset, India",
         india,
         UtcAt(2026, 12, 8, 5, 4, 56),
         "Tue Dec  8 00:04:56 -0500 2026\r\n",
         {2026, 12, 8, 10, 34, 56, 0},
         0,
         true},
        {"zone word, ctime, Berlin",
         berlin,
         UtcAt(2026, 12, 8, 12, 20, 54),
         "Tue Dec  8 13:20:54 CET 2026\r\n",
         {2026, 12, 8, 13, 20, 54, 0},
         0,
         false},
        {"local layout, over the new year",
         india,
         UtcAt(2026, 12, 31, 18, 29, 59),
         "1 jan 2027 0:00:01\r\n",
         {2027, 1, 1, 0, 0, 1, 0},
         2000,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::FakeZoneClock clock;
        clock.zone = c.zone;
        clock.now = c.arrival;
        DaytimeExchange exchange(clock);
        exchange.Begin();
        exchange.Connected();
        EXPECT_TRUE(exchange.Received(c.reply));
        const TimeReading r = exchange.Finish(ExchangeEnd::kComplete);
        ASSERT_EQ(r.status, ReadingStatus::kTime);
        EXPECT_EQ(r.local, CivilMoment(CivilMilliseconds(c.local) + 500));
        EXPECT_EQ(r.offsetMilliseconds, c.offset + 500);
        EXPECT_EQ(r.utc, c.utc);
    }
}

// Half the time from the connection to the reply is added; the name lookup before it is not.
TEST(DaytimeExchange, AddsHalfTheRoundTripFromTheConnection) {
    const std::pair<std::int64_t, std::int64_t> tripAndOffset[] = {
        {0, 0}, {400, 200}, {10000, 5000}};
    for (const auto& [trip, offset] : tripAndOffset) {
        fakes::FakeZoneClock clock;
        clock.now = UtcAt(2026, 12, 7, 9, 0, 0);
        DaytimeExchange exchange(clock);
        exchange.Begin();
        clock.now += 2000;
        exchange.Connected();
        clock.now += trip;
        exchange.Received("07 DEC 2026 09:00:02\n");  // stamped as the connection was made
        EXPECT_EQ(exchange.Finish(ExchangeEnd::kComplete).offsetMilliseconds, offset - trip + 500)
            << trip;
    }
}

}  // namespace
}  // namespace horalia
