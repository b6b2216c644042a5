#include "tools/say/check_time.h"

#include <gtest/gtest.h>

#include <deque>
#include <future>

#include "tools/say/bounded_call.h"

#include "fakes/fake_time_sync_ports.h"

namespace horalia::say {
namespace {

using Wait = DaytimeConnection::Wait;

// Answers each Receive with the next step of its script; past the end the server is silent.
class ScriptedConnection : public DaytimeConnection {
  public:
    bool Connect(const std::string& host, std::uint16_t port, Transport, std::int32_t) override {
        asked = host + ":" + std::to_string(port);
        return connects;
    }
    void Send(std::string_view) override {}
    Wait Receive(std::string& data, std::size_t maxBytes, std::int32_t) override {
        if (script.empty())
            return Wait::kTimedOut;
        auto [wait, piece] = script.front();
        script.pop_front();
        data += piece.substr(0, maxBytes);
        return wait;
    }

    bool connects = true;
    std::deque<std::pair<Wait, std::string>> script;
    std::string asked;
};

TEST(CheckTime, OneLineForATimeAndAMessageNamingEachFailure) {
    struct Case {
        const char* name;
        bool connects;
        std::deque<std::pair<Wait, std::string>> script;
        int status;
        std::string text;  // the whole output line, or a part of the error
    };
    const Case cases[] = {
        {"NIST in two pieces",
         true,
         {{Wait::kData, "\n61381 26-12-07 09:07:02 "}, {Wait::kData, "00 0 0 0.0 UTC(NIST) *\n"}},
         0,
         "2026-12-07 17:07:02 (time.nist.gov, UTC on the server); this computer's clock is 2.0 "
         "seconds slow"},
        {"local layout, then the close",
         true,
         {{Wait::kData, "07 DEC 2026 17:06:58"}, {Wait::kClosed, ""}},
         0,
         "2026-12-07 17:06:58 (time.nist.gov, local time on the server); this computer's clock "
         "is 2.0 seconds fast"},
        {"in step",
         true,
         {{Wait::kData, "61381 26-12-07 09:07:00 00 0 0 0.0 UTC(NIST) *\n"}},
         0,
         "2026-12-07 17:07:00 (time.nist.gov, UTC on the server); this computer's clock agrees "
         "to within 0.1 seconds"},
        {"named zone",
         true,
         {{Wait::kData, "07 DEC 2026 04:07:00 -0500\r\n"}},
         0,
         "2026-12-07 17:07:00 (time.nist.gov, UTC-05:00 on the server); this computer's clock "
         "agrees to within 0.1 seconds"},
        {"an hour off",
         true,
         {{Wait::kData, "61381 26-12-07 10:07:00 00 0 0 0.0 UTC(NIST) *\n"}},
         4,
         "2026-12-07 18:07:00 (time.nist.gov, UTC on the server); this computer's clock is "
         "3600.0 seconds slow\nthe hourly synchronisation would not set this clock: it moves it "
         "by at most 1000 seconds; 网络校时 in the menu asks first"},
        {"a year no synchronisation takes",
         true,
         {{Wait::kData, "01 JAN 2101 00:00:00 UTC\r\n"}},
         4,
         "\nno synchronisation would set this clock from this server: its year 2101 is not "
         "within 2020 to 2100"},
        {"refused",
         false,
         {},
         1,
         "cannot connect to time.nist.gov port 13: the name is unknown, or the server refused"},
        {"silent", true, {}, 1, "time.nist.gov port 13 sent nothing within 10 seconds"},
        {"closed without data",
         true,
         {{Wait::kClosed, ""}},
         1,
         "closed the connection without sending a time"},
        {"unhealthy",
         true,
         {{Wait::kData, "\n61381 26-12-07 09:07:00 00 0 1 50.0 UTC(NIST) *\n"}},
         1,
         "time.nist.gov reports that its own time is not reliable (health 1); no time taken"},
        {"hostile",
         true,
         {{Wait::kData, "\x1b[2J\"EVIL\"\r\n"}},
         1,
         "is not a time in a known layout: \"\\x1B[2J\\\"EVIL\\\"\\r\\n\""},
        {"cut off by the timeout",
         true,
         {{Wait::kData, "08 Dec 2026 14:30:5"}},
         1,
         "did not end within 10 seconds; a line cut off is not taken: \"08 Dec 2026 14:30:5\""},
        {"endless", true, {{Wait::kData, std::string(9000, 'A')}}, 1, "\"...\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::FakeZoneClock clock;
        clock.zone = {{{0, 8 * 60}}};
        clock.now = fakes::UtcAt(2026, 12, 7, 9, 7, 0, 500);  // mid-second, as whole-second stamps
        ScriptedConnection connection;
        connection.connects = c.connects;
        connection.script = c.script;
        const CheckTimeReport report =
            CheckTime(connection, clock, {{"time.nist.gov", 13}}, kReplyTimeoutMilliseconds);
        EXPECT_EQ(connection.asked, "time.nist.gov:13");
        EXPECT_EQ(report.status, c.status);
        if (c.status == 0) {
            EXPECT_EQ(report.output, c.text);
            EXPECT_TRUE(report.error.empty());
        } else if (c.status == kCheckTimeTooFar) {
            EXPECT_NE(report.output.find(c.text), std::string::npos) << report.output;
            EXPECT_TRUE(report.error.empty());
        } else {
            EXPECT_NE((report.error + "\n").find(c.text), std::string::npos) << report.error;
            EXPECT_EQ(report.error.find('\n'), std::string::npos);
            EXPECT_LT(report.error.size(), 300u);
        }
    }
}

// A call that blocks past its time is left behind; what it returns later is discarded.
TEST(CallWithin, GivesUpWhenTheTimeRunsOutAndDiscardsTheLateResult) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<int> discarded;
    const auto late = CallWithin<int>(
        [released] {
            released.wait();
            return 7;
        },
        [&discarded](int& value) { discarded.set_value(value); }, std::chrono::milliseconds(20));
    EXPECT_FALSE(late.has_value());
    release.set_value();
    EXPECT_EQ(discarded.get_future().get(), 7);

    EXPECT_EQ(CallWithin<int>([] { return 3; }, [](int&) {}, std::chrono::seconds(60)), 3);
}

}  // namespace
}  // namespace horalia::say
