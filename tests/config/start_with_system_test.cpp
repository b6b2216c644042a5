#include "config/start_with_system.h"

#include <gtest/gtest.h>

#include "fakes/fake_start_store.h"

namespace horalia {
namespace {

constexpr char kCommand[] = "\"D:\\Tools\\Horalia\\Horalia.exe\"";

TEST(StartCommand, QuotesTheExecutablePath) {
    EXPECT_EQ(StartCommand("D:\\Tools\\Horalia\\Horalia.exe"), kCommand);
    EXPECT_EQ(StartCommand("/opt/horalia/bin/horalia"), "\"/opt/horalia/bin/horalia\"");
    EXPECT_EQ(StartCommand("D:\\Horalia.exe"), StartCommand("D:\\Horalia.exe"));
}

TEST(IsStartRegistered, OnlyTheExactCommandCounts) {
    const struct {
        std::optional<std::string> entry;
        bool registered;
    } cases[] = {
        {std::nullopt, false},
        {"", false},
        {kCommand, true},
        {"\"D:\\Tools\\Old\\Horalia.exe\"", false},
        {"\"D:\\TOOLS\\Horalia\\Horalia.exe\"", false},
        {"D:\\Tools\\Horalia\\Horalia.exe", false},
        {std::string(kCommand) + " ", false},
    };
    for (const auto& c : cases) {
        fakes::FakeStartStore store;
        store.entry = c.entry;
        EXPECT_EQ(IsStartRegistered(store, kCommand), c.registered) << c.entry.value_or("(none)");
    }
}

TEST(RegisterStart, WritesOnlyWhenNotAlreadyRegistered) {
    const struct {
        std::optional<std::string> entry;
        int writes;
    } cases[] = {
        {std::nullopt, 1},
        {"", 1},
        {"\"D:\\Tools\\Old\\Horalia.exe\"", 1},
        {kCommand, 0},
    };
    for (const auto& c : cases) {
        fakes::FakeStartStore store;
        store.entry = c.entry;
        RegisterStart(store, kCommand);
        EXPECT_EQ(store.writes, c.writes) << c.entry.value_or("(none)");
        EXPECT_EQ(store.entry, std::string(kCommand));
        EXPECT_TRUE(IsStartRegistered(store, kCommand));
    }
}

TEST(RegisterStart, AFailedWriteLeavesItUnregistered) {
    fakes::FakeStartStore store;
    store.writable = false;
    RegisterStart(store, kCommand);
    EXPECT_EQ(store.writes, 1);
    EXPECT_FALSE(IsStartRegistered(store, kCommand));
}

TEST(UnregisterStart, RemovesTheEntryAndToleratesNone) {
    fakes::FakeStartStore store;
    RegisterStart(store, kCommand);
    UnregisterStart(store);
    EXPECT_FALSE(store.entry.has_value());
    UnregisterStart(store);
    EXPECT_EQ(store.removals, 2);
    EXPECT_FALSE(IsStartRegistered(store, kCommand));
}

// The log-on task replaces the Run value of earlier versions: making the task removes the value,
// a failed task leaves it, and switching off removes both.
TEST(ReplacingStartStore, TheNewEntryTakesTheOldOnesPlace) {
    fakes::FakeStartStore task;
    fakes::FakeStartStore runValue;
    ReplacingStartStore store(task, runValue);
    runValue.entry = kCommand;
    EXPECT_FALSE(IsStartRegistered(store, kCommand));  // the Run value starts nothing elevated

    task.writable = false;
    RegisterStart(store, kCommand);
    EXPECT_TRUE(runValue.entry.has_value());

    task.writable = true;
    RegisterStart(store, kCommand);
    EXPECT_TRUE(IsStartRegistered(store, kCommand));
    EXPECT_FALSE(runValue.entry.has_value());

    runValue.entry = kCommand;
    UnregisterStart(store);
    EXPECT_FALSE(task.entry.has_value());
    EXPECT_FALSE(runValue.entry.has_value());
}

}  // namespace
}  // namespace horalia
