// libUpdate.so and libSendComment.so as the program loads them: dlopen from the program's folder,
// dlsym, and calls with the dialog tools and xdg-open replaced by scripts.
#include <dlfcn.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "extlibs/linux/fake_desktop_tools.h"
#include "extlibs/linux/loopback_http_server.h"

namespace {

using horalia::testing::FakeDesktopTools;
using horalia::testing::HttpResponse;
using horalia::testing::LoopbackHttpServer;

using EntryPoint = void (*)(const char*);

std::string BesideTheTests(const char* file) {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / file).string();
}

// The libraries stay loaded for the whole test run, as in the program.
void* Library(const char* file) {
    void* handle = dlopen(BesideTheTests(file).c_str(), RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(handle, nullptr) << dlerror();
    return handle;
}

EntryPoint DoUpdate() {
    static void* library = Library("libUpdate.so");
    return reinterpret_cast<EntryPoint>(dlsym(library, "DoUpdate"));
}

EntryPoint ShowComment() {
    static void* library = Library("libSendComment.so");
    return reinterpret_cast<EntryPoint>(dlsym(library, "ShowComment"));
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A check ends when the next DoUpdate is let through: keep asking until the server sees it.
bool WaitUntilTheCheckEnds(const LoopbackHttpServer& server, const std::string& url) {
    const int seen = server.Accepted();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (server.Accepted() == seen) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        DoUpdate()(url.c_str());
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

TEST(SharedLibraries, ExportTheirEntryPointAndNothingElse) {
    void* update = Library("libUpdate.so");
    void* comment = Library("libSendComment.so");
    EXPECT_NE(dlsym(update, "DoUpdate"), nullptr);
    EXPECT_NE(dlsym(comment, "ShowComment"), nullptr);
    EXPECT_EQ(dlsym(update, "_ZN7horalia6update13TryBeginCheckEv"), nullptr);
    EXPECT_EQ(
        dlsym(comment,
              "_ZN7horalia8feedback12PercentEncodeESt17basic_string_viewIcSt11char_traitsIcEE"),
        nullptr);
}

TEST(SharedLibraries_DoUpdate, RunsOneCheckAtATimeInTheBackground) {
    FakeDesktopTools tools;
    tools.Script("zenity", 1, 0);  // yes, open the page
    LoopbackHttpServer server(
        {{"/u.txt", HttpResponse(200, "3.2.0.0\r\nhttps://www.example.com/dl/?v=3.2\r\n")}});
    server.Hold();
    const std::string url = server.Url("/u.txt");
    // Each call returns while the server still holds the first request.
    for (int i = 0; i < 3; ++i)
        DoUpdate()(url.c_str());
    while (server.Accepted() == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // room for a wrong second check
    EXPECT_EQ(server.Accepted(), 1);
    server.Release();

    ASSERT_TRUE(tools.WaitForCalls("xdg-open", 1));
    EXPECT_EQ(tools.Arguments("xdg-open", 1),
              std::vector<std::string>{"https://www.example.com/dl/?v=3.2"});
    ASSERT_EQ(tools.Calls("zenity"), 1);
    const std::vector<std::string> question = tools.Arguments("zenity", 1);
    EXPECT_TRUE(Contains(question, "--question"));
    EXPECT_TRUE(Contains(question, "--title=Horalia"));
    EXPECT_TRUE(Contains(question, "--text=发现新版本 3.2.0.0，是否打开下载页面？"));

    tools.Script("zenity", 2, 1);  // the next check's question is answered no
    ASSERT_TRUE(WaitUntilTheCheckEnds(server, url));
    ASSERT_TRUE(tools.WaitForCalls("zenity", 2));
    ASSERT_TRUE(WaitUntilTheCheckEnds(server, server.Url("/none")));
    EXPECT_EQ(tools.Calls("xdg-open"), 1);
}

TEST(SharedLibraries_DoUpdate, AsksNothingWithoutANewerWellFormedText) {
    const std::string responses[] = {
        HttpResponse(200, "3.0.0.0\nhttp://www.example.com/dl/\n"),
        HttpResponse(200, "2.1.0.0\nhttp://www.example.com/dl/\n"),
        HttpResponse(404, "9.0.0.0\nhttp://www.example.com/dl/\n"),
        HttpResponse(200, "9.0.0.0\nfile:///bin/sh\n"),
        HttpResponse(200, "<html>9.0.0.0</html>"),
        HttpResponse(200, "9.0.0.0\nhttp://www.example.com/dl/\n" + std::string(8000, ' ')),
    };
    FakeDesktopTools tools;
    for (const std::string& response : responses) {
        LoopbackHttpServer server({{"/u.txt", response}});
        ASSERT_TRUE(WaitUntilTheCheckEnds(server, server.Url("/u.txt")));
        ASSERT_TRUE(WaitUntilTheCheckEnds(server, server.Url("/u.txt")));
    }
    EXPECT_EQ(tools.Calls("zenity"), 0);
    EXPECT_EQ(tools.Calls("xdg-open"), 0);
}

TEST(SharedLibraries_DoUpdate, IgnoresANullOrUnreachableUrl) {
    FakeDesktopTools tools;
    DoUpdate()(nullptr);
    const std::string unreachable =
        "http://127.0.0.1:" + std::to_string(horalia::testing::UnusedPort()) + "/x";
    DoUpdate()(unreachable.c_str());
    LoopbackHttpServer server({});
    ASSERT_TRUE(WaitUntilTheCheckEnds(server, server.Url("/none")));
    EXPECT_EQ(tools.Calls("zenity"), 0);
}

TEST(SharedLibraries_ShowComment, MailsTheTypedTextThroughTheDesktop) {
    FakeDesktopTools tools;
    tools.Script("zenity", 1, 0, "很好用\n第二行\n");
    tools.Script("xdg-open", 1, 0);
    ShowComment()("Horalia 3.0.0.0");
    ASSERT_EQ(tools.Calls("zenity"), 1);
    const std::vector<std::string> window = tools.Arguments("zenity", 1);
    for (const char* argument : {"--text-info", "--editable", "--title=意见反馈 - Horalia 3.0.0.0",
                                 "--ok-label=发送", "--cancel-label=取消"})
        EXPECT_TRUE(Contains(window, argument)) << argument;
    EXPECT_EQ(tools.Input("zenity", 1), "");
    ASSERT_EQ(tools.Calls("xdg-open"), 1);
    EXPECT_EQ(tools.Arguments("xdg-open", 1),
              std::vector<std::string>{"mailto:feedback@example.com?subject=Horalia%203.0.0.0"
                                       "&body=%E5%BE%88%E5%A5%BD%E7%94%A8%0D%0A"
                                       "%E7%AC%AC%E4%BA%8C%E8%A1%8C"});
}

TEST(SharedLibraries_ShowComment, SendsNothingWhenCancelled) {
    FakeDesktopTools tools;
    tools.Script("zenity", 1, 1, "typed but cancelled\n");
    ShowComment()("Horalia 3.0.0.0");
    EXPECT_EQ(tools.Calls("zenity"), 1);
    EXPECT_EQ(tools.Calls("xdg-open"), 0);
}

TEST(SharedLibraries_ShowComment, GivesTheTextBackWhenNoMailProgramOpens) {
    FakeDesktopTools tools;
    tools.Script("zenity", 1, 0, "草稿\n");
    tools.Script("xdg-open", 1, 3);  // xdg-open: no handler for mailto
    tools.Script("zenity", 2, 0);    // the error message, acknowledged
    tools.Script("zenity", 3, 1);    // the window again, then cancelled
    ShowComment()("Horalia 3.0.0.0");
    ASSERT_EQ(tools.Calls("zenity"), 3);
    const std::vector<std::string> error = tools.Arguments("zenity", 2);
    EXPECT_TRUE(Contains(error, "--error"));
    EXPECT_TRUE(std::any_of(error.begin(), error.end(), [](const std::string& line) {
        return line.find("feedback@example.com") != std::string::npos;
    }));
    EXPECT_TRUE(Contains(tools.Arguments("zenity", 3), "--text-info"));
    EXPECT_EQ(tools.Input("zenity", 3), "草稿");
    EXPECT_EQ(tools.Calls("xdg-open"), 1);
}

TEST(SharedLibraries_ShowComment, ReturnsAtOnceWithoutADialogTool) {
    FakeDesktopTools tools(/*withZenity=*/false);
    ShowComment()("Horalia 3.0.0.0");
    ShowComment()(nullptr);
    EXPECT_EQ(tools.Calls("xdg-open"), 0);
}

TEST(SharedLibraries_ShowComment, ToleratesANullText) {
    FakeDesktopTools tools;
    ShowComment()(nullptr);
    ASSERT_EQ(tools.Calls("zenity"), 1);
    EXPECT_TRUE(Contains(tools.Arguments("zenity", 1), "--title=意见反馈 - "));
}

}  // namespace

namespace {

// The program may exit while a check still waits for its answer: static destruction and exit
// then run beside the check's thread, and the process must still end normally.
TEST(SharedLibrariesDeathTest, ExitWhileACheckWaitsEndsNormally) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static auto* server = new LoopbackHttpServer({});  // still held at exit
            server->Hold();
            DoUpdate()(server->Url("/u.txt").c_str());
            while (server->Accepted() == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
