#include "tools/say/say_options.h"

#include <gtest/gtest.h>

#include "timesync/daytime.h"

namespace horalia::say {
namespace {

TEST(ParseMomentText, AcceptsRealMomentsOnly) {
    const auto full = ParseMomentText("2026-12-07 13:45:09");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->year, 2026);
    EXPECT_EQ(full->month, 12);
    EXPECT_EQ(full->day, 7);
    EXPECT_EQ(full->hour, 13);
    EXPECT_EQ(full->minute, 45);
    EXPECT_EQ(full->second, 9);
    EXPECT_TRUE(ParseMomentText("2024-02-29T00:00"));

    for (const char* bad :
         {"", "2026-12-07", "2026-12-07 24:00:00", "2026-02-29 10:00:00", "2026-13-01 10:00:00",
          "2026-12-07 10:60", "2026-12-07 10:00:60", "26-12-07 10:00:00", "2026-12-07 10:00:00 ",
          "2026-12-07  10:00", "2026-12-07 1:00", "２０２６-12-07 10:00"}) {
        EXPECT_FALSE(ParseMomentText(bad)) << bad;
    }
}

TEST(ParseSayArguments, ReadsEveryOption) {
    const ParseResult r = ParseSayArguments(
        {"--print", "--at", "2026-12-07 13:45:00", "--format=2", "--wav", "今天.wav"});
    ASSERT_TRUE(r.Ok()) << r.error;
    EXPECT_TRUE(r.options.print);
    ASSERT_TRUE(r.options.at);
    EXPECT_EQ(r.options.at->hour, 13);
    EXPECT_EQ(r.options.format, 2);
    EXPECT_EQ(r.options.wavPath, "今天.wav");

    const ParseResult none = ParseSayArguments({});
    ASSERT_TRUE(none.Ok());
    EXPECT_FALSE(none.options.print || none.options.at || none.options.format ||
                 none.options.wavPath || none.options.help);
}

TEST(ParseSayArguments, ReadsTheVoiceAndScheduleOptions) {
    const ParseResult r = ParseSayArguments(
        {"--natural", "--voice", "D:\\女声", "--volume=0", "--print", "--lunar=2"});
    ASSERT_TRUE(r.Ok()) << r.error;
    EXPECT_TRUE(r.options.natural);
    EXPECT_EQ(r.options.lunar, 2);
    EXPECT_EQ(r.options.voiceFolder, "D:\\女声");
    EXPECT_EQ(r.options.volume, 0);
    EXPECT_FALSE(r.options.schedule);

    const ParseResult s =
        ParseSayArguments({"--schedule", "--from", "2026-12-07", "23:59", "--count", "12"});
    ASSERT_TRUE(s.Ok()) << s.error;
    EXPECT_TRUE(s.options.schedule);
    EXPECT_EQ(s.options.from->minute, 59);
    EXPECT_EQ(s.options.count, 12);
    EXPECT_FALSE(s.options.removeStartEntries);
    EXPECT_TRUE(ParseSayArguments({"--remove-start-entries"}).options.removeStartEntries);

    EXPECT_EQ(ParseSayArguments({"--check-voice", "voice"}).options.checkVoice, "voice");

    const ParseResult t = ParseSayArguments(
        {"--schedule", "--quiet", "12:00-13:30,22:00-07:00", "--interval=10", "--days", "工作日"});
    ASSERT_TRUE(t.Ok()) << t.error;
    EXPECT_EQ(FormatQuietPeriods(t.options.quietPeriods.value()), "12:00-13:30,22:00-07:00");
    EXPECT_EQ(t.options.interval, 10);
    EXPECT_EQ(t.options.days, ParseAnnouncementDays("工作日"));
    // Empty values stand for none, today's hours and every day.
    const ParseResult u =
        ParseSayArguments({"--schedule", "--quiet", "", "--interval", "", "--days="});
    ASSERT_TRUE(u.Ok()) << u.error;
    EXPECT_TRUE(u.options.quietPeriods.value().empty());
    EXPECT_EQ(u.options.interval, 0);
    EXPECT_EQ(u.options.days, AnnouncementDays{});
}

TEST(ParseSayArguments, JoinsAnUnquotedDateAndTime) {
    const ParseResult r = ParseSayArguments({"--at", "2026-12-07", "08:05", "--print"});
    ASSERT_TRUE(r.Ok()) << r.error;
    EXPECT_EQ(r.options.at->minute, 5);
    EXPECT_TRUE(r.options.print);
}

TEST(ParseSayArguments, CheckTimeTakesAnOptionalServer) {
    const std::pair<std::vector<std::string>, std::vector<ServerAddress>> cases[] = {
        {{"--check-time"}, {}},  // the setting's
        {{"--check-time", "daytime.example"}, {{"daytime.example", 13}}},
        {{"--check-time=127.0.0.1:1313"}, {{"127.0.0.1", 1313}}},
        {{"--check-time", "[::1]:65535"}, {{"::1", 65535}}},
        {{"--check-time", "::1"}, {{"::1", 13}}},
        {{"--help", "--check-time"}, {}},
        {{"--check-time", "ntp://127.0.0.1:4123,time.nist.gov"},
         {{"127.0.0.1", 4123, TimeProtocol::kNtp}, {"time.nist.gov", 13}}},
    };
    for (const auto& [arguments, servers] : cases) {
        const ParseResult r = ParseSayArguments(arguments);
        ASSERT_TRUE(r.Ok()) << r.error;
        EXPECT_EQ(r.options.checkTime, servers) << arguments.back();
    }
}

TEST(ParseSayArguments, NamesTheProblemOfBadInput) {
    struct Case {
        std::vector<std::string> arguments;
        const char* mentioned;
    };
    const Case cases[] = {
        {{"--at", "2026-02-30 10:00"}, "2026-02-30 10:00"},
        {{"--at"}, "needs a value"},
        {{"--format", "3"}, "\"3\""},
        {{"--format", "01"}, "\"01\""},
        {{"--format", ""}, "--format"},
        {{"--lunar", "3"}, "--lunar: \"3\""},
        {{"--lunar", "1", "--lunar", "1"}, "given twice"},
        {{"--wav", ""}, "--wav"},
        {{"--loud"}, "unknown option \"--loud\""},
        {{"now"}, "unexpected argument \"now\""},
        {{"--print=yes"}, "takes no value"},
        {{"--format", "1", "--format", "2"}, "given twice"},
        {{"--check-time", "host:0"}, "\"host:0\" is not a server"},
        {{"--check-time=host:65536"}, "port 1 to 65535"},
        {{"--check-time", "host:"}, "\"host:\""},
        {{"--check-time", ":13"}, "\":13\""},
        {{"--check-time", "[::1"}, "\"[::1\""},
        {{"--check-time", "host:13x"}, "\"host:13x\""},
        {{"--check-time", "http://host"}, "\"http://host\" is not a server"},
        {{"--check-time", "a,,b"}, "separated by commas"},
        {{"--check-time", "--print"}, "cannot be combined"},
        {{"--check-time", "--check-time"}, "given twice"},
        {{"--volume", "250"}, "\"250\" is not a whole number from 0 to 100"},
        {{"--volume", "-1"}, "--volume"},
        {{"--volume", "50%"}, "--volume"},
        {{"--count", "0", "--schedule"}, "--count"},
        {{"--count", "3"}, "goes with --schedule"},
        {{"--from", "2026-12-07 10:00"}, "goes with --schedule"},
        {{"--schedule", "--from", "2026-12-32 10:00"}, "--from"},
        {{"--voice", ""}, "--voice needs a folder"},
        {{"--check-voice"}, "needs a value"},
        {{"--schedule", "--check-voice", "x"}, "cannot be combined"},
        {{"--remove-start-entries", "--print"}, "--remove-start-entries takes no other option"},
        {{"--schedule", "--quiet", "22:00-22:00"}, "--quiet: \"22:00-22:00\""},
        {{"--schedule", "--quiet", "12:00-13:00,25:00-07:00"}, "--quiet"},
        {{"--schedule", "--interval", "7"}, "--interval: \"7\" is not one of 5, 10"},
        {{"--schedule", "--days", "8"}, "--days: \"8\""},
        {{"--schedule", "--days", "5-1"}, "--days"},
        {{"--days", "1-5"}, "--days goes with --schedule"},
        {{"--interval", "10"}, "--interval goes with --schedule"},
        {{"--quiet", ""}, "--quiet goes with --schedule"},
    };
    for (const Case& c : cases) {
        const ParseResult r = ParseSayArguments(c.arguments);
        EXPECT_FALSE(r.Ok()) << c.mentioned;
        EXPECT_NE(r.error.find(c.mentioned), std::string::npos) << r.error;
        EXPECT_EQ(r.error.find('\n'), std::string::npos) << r.error;
    }
}

}  // namespace
}  // namespace horalia::say
