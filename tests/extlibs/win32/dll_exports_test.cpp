// Update.dll and SendComment.dll as the program loads them: by file name, exactly one undecorated
// export each, entry points of one pointer (__stdcall on i686), and the windows they show.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "fakes/loopback_server.h"

namespace {

using horalia::testing::HttpResponse;
using horalia::testing::LoopbackServer;
using std::chrono::steady_clock;

#if defined(__i386__)
// Calls `function` with one pointer pushed on the stack and returns how many bytes of it the
// caller still has to remove: 0 for a __stdcall function, 4 for a __cdecl one.
int BytesLeftOnStack(FARPROC function, const void* argument) {
    int left;
    asm volatile(
        "movl %%esp, %%ebx\n\t"
        "pushl %2\n\t"
        "call *%1\n\t"
        "movl %%ebx, %%eax\n\t"
        "subl %%esp, %%eax\n\t"
        "movl %%ebx, %%esp\n\t"
        : "=a"(left)
        : "r"(function), "r"(argument)
        : "ebx", "ecx", "edx", "memory", "cc");
    return left;
}
#else
// x86-64 has one calling convention: a call always leaves the stack as it found it.
int BytesLeftOnStack(FARPROC function, const void* argument) {
    reinterpret_cast<void (*)(const void*)>(reinterpret_cast<void*>(function))(argument);
    return 0;
}
#endif

// The names a library exports, read from the export directory of the loaded module.
std::vector<std::string> ExportedNames(const char* library) {
    const auto* base = reinterpret_cast<const BYTE*>(LoadLibraryA(library));
    if (!base)
        return {"<" + std::string(library) + " not loaded>"};
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const auto& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* exports =
        reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::vector<std::string> result;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        result.emplace_back(reinterpret_cast<const char*>(base + names[i]));
    return result;
}

FARPROC Export(const char* library, const char* name) {
    return GetProcAddress(LoadLibraryA(library), name);
}

FARPROC DoUpdate() {
    return Export("Update.dll", "DoUpdate");
}
FARPROC ShowComment() {
    return Export("SendComment.dll", "ShowComment");
}

void CallDoUpdate(const std::string& url) {
    // Through void* first: FARPROC and the real type are deliberately unrelated function types.
    using Entry = void(__stdcall*)(const char*);
    reinterpret_cast<Entry>(reinterpret_cast<void*>(DoUpdate()))(url.c_str());
}

// A top-level dialog of ours with that caption, once it is shown (after its controls exist).
HWND WaitForDialog(const std::wstring& caption) {
    const auto deadline = steady_clock::now() + std::chrono::seconds(20);
    while (steady_clock::now() < deadline) {
        const HWND dialog = FindWindowW(L"#32770", caption.c_str());
        if (dialog && IsWindowVisible(dialog))
            return dialog;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return nullptr;
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// A check ends when the next DoUpdate is let through: keep asking until the server sees it.
bool WaitUntilTheCheckEnds(const LoopbackServer& server, const std::string& url) {
    const int seen = server.Accepted();
    const auto deadline = steady_clock::now() + std::chrono::seconds(30);
    while (server.Accepted() == seen) {
        if (steady_clock::now() > deadline)
            return false;
        CallDoUpdate(url);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

TEST(Dlls, ExportExactlyTheirOneUndecoratedEntryPoint) {
    EXPECT_EQ(ExportedNames("Update.dll"), std::vector<std::string>{"DoUpdate"});
    EXPECT_EQ(ExportedNames("SendComment.dll"), std::vector<std::string>{"ShowComment"});
}

TEST(Dlls_DoUpdate, ReturnsWhileTheCheckWaits) {
    LoopbackServer server({{"/u.txt", HttpResponse(200, "2.0.0.0\r\nhttp://a.example/\r\n")}});
    server.Hold();
    const std::string url = server.Url("/u.txt");
    EXPECT_EQ(BytesLeftOnStack(DoUpdate(), url.c_str()), 0);
    EXPECT_EQ(BytesLeftOnStack(DoUpdate(), "http://127.0.0.1:9/x"), 0);  // dropped: one check
    CallDoUpdate(url);
    while (server.Accepted() == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // room for a wrong second check
    EXPECT_EQ(server.Accepted(), 1);
    server.Release();
    ASSERT_TRUE(WaitUntilTheCheckEnds(server, url));
    ASSERT_TRUE(WaitUntilTheCheckEnds(server, server.Url("/none")));
}

TEST(Dlls_DoUpdate, AsksBeforeOpeningTheDownloadPageOfANewerVersion) {
    LoopbackServer server(
        {{"/u.txt", HttpResponse(200, "3.0.0.1\r\nhttp://www.example.com/dl/\r\n")}});
    CallDoUpdate(server.Url("/u.txt"));
    const HWND question = WaitForDialog(L"Horalia");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(question, 0xFFFF)), L"发现新版本 3.0.0.1，是否打开下载页面？");
    EXPECT_NE(GetDlgItem(question, IDYES), nullptr);
    ASSERT_NE(GetDlgItem(question, IDNO), nullptr);
    PostMessageW(question, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(WaitUntilTheCheckEnds(server, server.Url("/none")));
}

// ShowComment running on a thread of its own, as the test's thread inspects and closes the window.
class FeedbackWindow {
  public:
    FeedbackWindow(std::string ansiText, std::wstring caption)
        : text_(std::move(ansiText)), caption_(std::move(caption)), thread_([this] {
              bytesLeft_ = BytesLeftOnStack(ShowComment(), text_.c_str());
              returned_ = true;
          }) {}

    // A test that failed half-way still gets its window closed.
    ~FeedbackWindow() {
        while (!returned_) {
            if (const HWND dialog = FindWindowW(L"#32770", caption_.c_str()))
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (thread_.joinable())
            thread_.join();
    }

    HWND Dialog() const { return WaitForDialog(caption_); }

    int BytesLeft() {
        if (thread_.joinable())
            thread_.join();
        return bytesLeft_;
    }

  private:
    std::string text_;
    std::wstring caption_;
    int bytesLeft_ = -1;
    std::atomic<bool> returned_{false};
    std::thread thread_;
};

TEST(Dlls_ShowComment, ShowsTheFeedbackWindowUntilCancelled) {
    FeedbackWindow window("Horalia 3.0.0.0", L"意见反馈 - Horalia 3.0.0.0");
    const HWND dialog = window.Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDOK)), L"发送");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDCANCEL)), L"取消");
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    const HWND edit = GetDlgItem(dialog, 100);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE);
    EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_WANTRETURN);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(window.BytesLeft(), 0);
}

TEST(Dlls_ShowComment, ReadsItsTextInTheAnsiCodePage) {
    ASSERT_EQ(GetACP(), 936u) << "the Wine runner sets a Chinese locale";
    FeedbackWindow window("\xB7\xB4\xC0\xA1", L"意见反馈 - 反馈");  // 反馈 in GBK
    const HWND dialog = window.Dialog();
    ASSERT_NE(dialog, nullptr);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(window.BytesLeft(), 0);
}

TEST(Dlls_ShowComment, MakesANewWindowForEachCall) {
    for (int i = 0; i < 2; ++i) {
        FeedbackWindow window("Horalia 3.0.0.0", L"意见反馈 - Horalia 3.0.0.0");
        const HWND dialog = window.Dialog();
        ASSERT_NE(dialog, nullptr);
        PostMessageW(dialog, WM_CLOSE, 0, 0);  // the caption's close box
        EXPECT_EQ(window.BytesLeft(), 0);
        EXPECT_FALSE(IsWindow(dialog));
    }
}

}  // namespace

namespace {

// The program may exit while a check still waits for its answer: static destruction and exit
// then run beside the check's thread, and the process must still end normally.
TEST(DllsDeathTest, ExitWhileACheckWaitsEndsNormally) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static auto* server = new LoopbackServer();  // still held at exit
            server->Hold();
            CallDoUpdate(server->Url("/u.txt"));
            while (server->Accepted() == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
