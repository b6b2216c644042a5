// libUpdate.so and libSendComment.so as the program loads them: dlopen from the program's folder,
// dlsym, and calls with xdg-open replaced by a script; their windows on Qt's offscreen platform,
// in a QApplication as the program has one.
#include <dlfcn.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "extlibs/linux/fake_desktop_tools.h"
#include "fakes/loopback_server.h"

namespace {

using horalia::testing::FakeDesktopTools;
using horalia::testing::HttpResponse;
using horalia::testing::LoopbackServer;

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

QApplication& Application() {
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    return application;
}

// Runs this thread's events, where the update check asks its question, until `done` holds.
template <typename Done>
bool PumpUntil(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Answers each question box that opens with the next of the given answers, as a person would,
// and keeps "title|text" of each.
class QuestionAnswerer {
  public:
    explicit QuestionAnswerer(std::vector<QMessageBox::StandardButton> answers)
        : answers_(std::move(answers)) {
        Application();
        QObject::connect(&timer_, &QTimer::timeout, [this] { AnswerOpenQuestion(); });
        timer_.start(10);
    }
    const std::vector<QString>& Asked() const { return asked_; }

  private:
    void AnswerOpenQuestion() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || asked_.size() >= answers_.size())
            return;
        asked_.push_back(box->windowTitle() + "|" + box->text());
        box->button(answers_[asked_.size() - 1])->click();
    }

    std::vector<QMessageBox::StandardButton> answers_;
    std::vector<QString> asked_;
    QTimer timer_;
};

// A check ends when the next DoUpdate is let through: keep asking until the server sees it. No
// DoUpdate once it has: a check may run to its end inside one pump (its question answered there),
// and another call would start one more, whose question would come after the test.
bool WaitUntilTheCheckEnds(const LoopbackServer& server, const std::string& url) {
    const int seen = server.Accepted();
    return PumpUntil([&] {
        if (server.Accepted() != seen) {
            return true;
        }
        DoUpdate()(url.c_str());
        return false;
    });
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
    tools.Script("xdg-open", 1, 0);
    QuestionAnswerer person({QMessageBox::Yes, QMessageBox::No});
    LoopbackServer server(
        {{"/u.txt", HttpResponse(200, "3.2.0.0\r\nhttps://www.example.com/dl/?v=3.2\r\n")}});
    server.Hold();
    const std::string url = server.Url("/u.txt");
    // Each call returns while the server still holds the first request.
    for (int i = 0; i < 3; ++i)
        DoUpdate()(url.c_str());
    ASSERT_TRUE(PumpUntil([&] { return server.Accepted() > 0; }));
    const auto later = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    PumpUntil([&] { return std::chrono::steady_clock::now() > later; });  // room for a wrong check
    EXPECT_EQ(server.Accepted(), 1);
    server.Release();

    ASSERT_TRUE(PumpUntil([&] { return tools.Calls("xdg-open") == 1; }));
    EXPECT_EQ(tools.Arguments("xdg-open", 1),
              std::vector<std::string>{"https://www.example.com/dl/?v=3.2"});
    EXPECT_EQ(
        person.Asked(),
        std::vector<QString>{QStringLiteral("Horalia|发现新版本 3.2.0.0，是否打开下载页面？")});

    ASSERT_TRUE(WaitUntilTheCheckEnds(server, url));  // the next check's question is answered no
    ASSERT_TRUE(WaitUntilTheCheckEnds(server, server.Url("/none")));
    EXPECT_EQ(person.Asked().size(), 2u);
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
    QuestionAnswerer person({QMessageBox::Yes});
    for (const std::string& response : responses) {
        LoopbackServer server({{"/u.txt", response}});
        ASSERT_TRUE(WaitUntilTheCheckEnds(server, server.Url("/u.txt")));
        ASSERT_TRUE(WaitUntilTheCheckEnds(server, server.Url("/u.txt")));
    }
    EXPECT_TRUE(person.Asked().empty()) << person.Asked().front().toStdString();
    EXPECT_EQ(tools.Calls("xdg-open"), 0);
}

TEST(SharedLibraries_DoUpdate, IgnoresANullOrUnreachableUrl) {
    FakeDesktopTools tools;
    QuestionAnswerer person({QMessageBox::Yes});
    DoUpdate()(nullptr);
    const std::string unreachable =
        "http://127.0.0.1:" + std::to_string(horalia::testing::UnusedPort()) + "/x";
    DoUpdate()(unreachable.c_str());
    LoopbackServer server;
    ASSERT_TRUE(WaitUntilTheCheckEnds(server, server.Url("/none")));
    EXPECT_TRUE(person.Asked().empty());
    EXPECT_EQ(tools.Calls("xdg-open"), 0);
}

// The feedback window in a running Qt program: ShowComment returns at once and the window lives
// beside the program's own.
class SharedLibraries_ShowComment : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { Application(); }
    // The windows delete themselves once closed.
    void TearDown() override {
        QApplication::closeAllWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static QDialog* Window(const QString& caption) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(window);
            if (dialog && dialog->isVisible() && dialog->windowTitle() == caption)
                return dialog;
        }
        return nullptr;
    }
    static void Click(QDialog* window, const char* name) {
        window->findChild<QPushButton*>(QString::fromUtf8(name))->click();
        QApplication::processEvents();
    }

    FakeDesktopTools tools;
};

TEST_F(SharedLibraries_ShowComment, MailsTheTypedTextAndCloses) {
    tools.Script("xdg-open", 1, 0);
    ShowComment()("Horalia 3.0.0.0");
    QDialog* window = Window(QStringLiteral("意见反馈 - Horalia 3.0.0.0"));
    ASSERT_NE(window, nullptr) << "the call returns with the window open";
    auto* box = window->findChild<QPlainTextEdit*>(QStringLiteral("Text_意见"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->hasFocus() || !window->isActiveWindow());
    box->setPlainText(QStringLiteral("很好用\n第二行"));
    Click(window, "Command_发送");
    ASSERT_TRUE(
        PumpUntil([&] { return Window(QStringLiteral("意见反馈 - Horalia 3.0.0.0")) == nullptr; }));
    ASSERT_EQ(tools.Calls("xdg-open"), 1);
    EXPECT_EQ(tools.Arguments("xdg-open", 1),
              std::vector<std::string>{"mailto:feedback@example.com?subject=Horalia%203.0.0.0"
                                       "&body=%E5%BE%88%E5%A5%BD%E7%94%A8%0D%0A"
                                       "%E7%AC%AC%E4%BA%8C%E8%A1%8C"});
}

TEST_F(SharedLibraries_ShowComment, SendsNothingWhenCancelled) {
    ShowComment()(nullptr);  // no text: the caption's prefix alone
    QDialog* window = Window(QStringLiteral("意见反馈 - "));
    ASSERT_NE(window, nullptr);
    window->findChild<QPlainTextEdit*>(QStringLiteral("Text_意见"))->setPlainText("typed");
    Click(window, "Command_取消");
    EXPECT_EQ(Window(QStringLiteral("意见反馈 - ")), nullptr);
    EXPECT_EQ(tools.Calls("xdg-open"), 0);
}

TEST_F(SharedLibraries_ShowComment, KeepsTheTextWhenNoMailProgramOpens) {
    tools.Script("xdg-open", 1, 3);  // xdg-open: no handler for mailto
    ShowComment()("Horalia 3.0.0.0");
    QDialog* window = Window(QStringLiteral("意见反馈 - Horalia 3.0.0.0"));
    ASSERT_NE(window, nullptr);
    window->findChild<QPlainTextEdit*>(QStringLiteral("Text_意见"))->setPlainText("草稿");
    Click(window, "Command_发送");
    ASSERT_TRUE(PumpUntil([&] { return window->findChild<QMessageBox*>() != nullptr; }));
    EXPECT_EQ(tools.Calls("xdg-open"), 1);
    ASSERT_EQ(Window(QStringLiteral("意见反馈 - Horalia 3.0.0.0")), window);
    EXPECT_EQ(window->findChild<QPlainTextEdit*>()->toPlainText(), QStringLiteral("草稿"));
    const auto* message = window->findChild<QMessageBox*>();
    EXPECT_TRUE(message->text().contains(QStringLiteral("feedback@example.com")));
}

}  // namespace

namespace {

// The program may exit while a check still waits for its answer: static destruction and exit
// then run beside the check's thread, and the process must still end normally.
TEST(SharedLibrariesDeathTest, ExitWhileACheckWaitsEndsNormally) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static auto* server = new LoopbackServer();  // still held at exit
            server->Hold();
            DoUpdate()(server->Url("/u.txt").c_str());
            while (server->Accepted() == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
