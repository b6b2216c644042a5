// The Qt windows over their presenters, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStringDecoder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest/QTest>
#include <map>

#include "common/form/qt/window_support.h"
#include "config/ini_file.h"
#include "fakes/fake_profile_backend.h"
#include "fakes/fake_start_store.h"
#include "fakes/fake_window_ports.h"
#include "ui/extras/qt/about_dialog.h"
#include "ui/extras/qt/ad_window_qt.h"
#include "ui/extras/qt/web_page.h"
#include "ui/keyboard_cases.h"
#include "ui/settings/qt/settings_dialog.h"
#include "ui/settings/settings_form.h"

namespace horalia::qt {
namespace {

// Never destroyed: Qt's test input devices outlive any static application object.
void TestApplication() {
    static int argc = 1;
    static char name[] = "ui-qt-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    (void)application;
}

constexpr char kIni[] = "/home/u/.config/horalia/Value.ini";

template <typename T>
T* In(QWidget* window, const char* name) {
    return window->findChild<T*>(QString::fromUtf8(name));
}

// A check box or option button takes clicks on its indicator and caption only.
void ClickIndicator(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

using fakes::FakeMainForm;
using FakeOpener = fakes::FakeUrlOpener;

class SettingsDialogTest : public testing::Test {
  protected:
    SettingsDialogTest() {
        TestApplication();
        config.SpecifyIni(kIni);
    }
    template <typename T>
    T* Find(const char* name) {
        return dialog.Window()->findChild<T*>(QString::fromUtf8(name));
    }
    // Clicks reach a window's widgets once the platform has exposed it.
    void ShowExposed() {
        dialog.Show(mainForm);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.Window()));
    }
    QRadioButton* Option(const char* group, int index) {
        return Find<QRadioButton>(
            (std::string("Option_") + group + "_" + std::to_string(index)).c_str());
    }

    fakes::FakeProfileBackend backend;
    读写配置 config{backend};
    fakes::FakeStartStore store;
    SettingsRecord settings;
    FakeMainForm mainForm;
    SettingsDialog dialog{
        SettingsDialogServices{config, store, "\"/opt/horalia/bin/horalia\"", settings}};
};

TEST_F(SettingsDialogTest, WidgetsMirrorTheRecordIncludingHandEditedValues) {
    const auto record = [](int frequency, int format, int ad, int off, int start, int syncOff) {
        SettingsRecord r;
        r.AnnounceFrequency = frequency;
        r.AnnounceFormat = format;
        r.AdMode = ad;
        r.AnnounceOff = off;
        r.StartWithWindows = start;
        r.AutoSyncOff = syncOff;
        return r;
    };
    const struct {
        SettingsRecord record;
        int frequency, format, ad;  // checked button, -1 none
        bool off, start, sync;      // sync: ticked while the synchronisation runs
    } cases[] = {
        {{}, 0, 0, 0, false, false, true},
        {record(2, 1, 1, 1, 1, 1), 2, 1, 1, true, true, false},
        {record(0, 3, 2, 0, 0, 0), 0, -1, -1, false, false, true},  // no button for 3, 2
    };
    for (const auto& c : cases) {
        settings = c.record;
        dialog.Show(mainForm);
        const int expected[3] = {c.frequency, c.format, c.ad};
        const char* groups[3] = {"报时设置", "格式设置", "广告设置"};
        for (int g = 0; g < 3; ++g) {
            for (int i = 0; i < (g == 2 ? 2 : 3); ++i) {
                EXPECT_EQ(Option(groups[g], i)->isChecked(), i == expected[g]) << groups[g] << i;
            }
        }
        EXPECT_EQ(Find<QCheckBox>("Check_关闭报时")->isChecked(), c.off);
        EXPECT_EQ(Find<QCheckBox>("Check_开机启动")->isChecked(), c.start);
        EXPECT_EQ(Find<QCheckBox>("Check_自动校时")->isChecked(), c.sync);
        EXPECT_FALSE(Find<QPushButton>("Command_应用")->isEnabled());
        dialog.Unload();
    }
}

TEST_F(SettingsDialogTest, LayoutTextsAndButtons) {
    dialog.Show(mainForm);
    QDialog* window = dialog.Window();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Horalia设置"));
    const double dpi = LogicalDpi();
    EXPECT_EQ(window->size(), QSize(TwipsToPixels(5730, dpi), TwipsToPixels(3060, dpi)));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(Find<QGroupBox>("GroupBox_报时设置")->title(), QStringLiteral("报时频率"));
    EXPECT_EQ(Find<QGroupBox>("GroupBox_格式设置")->title(), QStringLiteral("报时格式"));
    EXPECT_EQ(Find<QGroupBox>("GroupBox_广告设置")->title(), QStringLiteral("广告设置"));
    EXPECT_EQ(Find<QGroupBox>("GroupBox_高级设置")->title(), QStringLiteral("扩展设置"));
    EXPECT_EQ(Option("广告设置", 1)->text(), QStringLiteral("一天显示一次"));
    EXPECT_TRUE(
        Find<QCheckBox>("Check_开机启动")->toolTip().startsWith(QStringLiteral("开机自动")));
    EXPECT_TRUE(Find<QCheckBox>("Check_自动校时")->toolTip().startsWith(QStringLiteral("用于")));
    EXPECT_TRUE(Find<QPushButton>("Command_确定")->isDefault());
    auto* link = Find<QPushButton>("Label_高级设置");
    EXPECT_TRUE(link->styleSheet().contains(QStringLiteral("rgb(0, 0, 255)")));
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(SettingsDialogTest, ClicksReachThePresenterAndEnableApply) {
    ShowExposed();
    ClickIndicator(Option("报时设置", 2));
    EXPECT_EQ(dialog.Presenter()->Value("报时设置"), "2");
    EXPECT_FALSE(Option("报时设置", 0)->isChecked());
    EXPECT_TRUE(Find<QPushButton>("Command_应用")->isEnabled());

    ClickIndicator(Find<QCheckBox>("Check_开机启动"));
    EXPECT_EQ(dialog.Presenter()->Value("开机启动"), "1");
    EXPECT_TRUE(Find<QCheckBox>("Check_开机启动")->isChecked());
    EXPECT_EQ(store.entry, "\"/opt/horalia/bin/horalia\"");
    EXPECT_EQ(mainForm.startChecked, true);

    ClickIndicator(Find<QCheckBox>("Check_关闭报时"));
    QTest::mouseClick(Find<QPushButton>("Command_应用"), Qt::LeftButton);
    EXPECT_EQ(settings.AnnounceFrequency, 2);
    EXPECT_EQ((backend.values[{kIni, "Horalia", "关闭报时"}]), "1");
    EXPECT_EQ(mainForm.announceTimer, false);
    EXPECT_FALSE(Find<QPushButton>("Command_应用")->isEnabled());
}

TEST_F(SettingsDialogTest, EscCancelsEnterAppliesAndOpeningAgainKeepsState) {
    ShowExposed();
    ClickIndicator(Option("格式设置", 1));
    QDialog* first = dialog.Window();
    dialog.Show(mainForm);
    EXPECT_EQ(dialog.Window(), first);
    EXPECT_TRUE(Option("格式设置", 1)->isChecked());

    QTest::keyClick(dialog.Window(), Qt::Key_Escape);
    EXPECT_EQ(dialog.Window(), nullptr);
    EXPECT_EQ(backend.writes, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    ShowExposed();
    EXPECT_TRUE(Option("格式设置", 0)->isChecked());  // a fresh load from the record
    QTest::keyClick(dialog.Window(), Qt::Key_Return);
    EXPECT_EQ(dialog.Window(), nullptr);
    EXPECT_EQ(backend.writes, 0);  // applied, and nothing had changed
}

// The link opens the advanced page over the dialog; its widgets reach the presenter.
TEST_F(SettingsDialogTest, AdvancedPageOpensFromTheLinkAndAppliesOnlyValidInput) {
    settings.Volume = 60;
    settings.HalfOrQuarterHours = 1;
    ShowExposed();
    QTest::mouseClick(Find<QPushButton>("Label_高级设置"), Qt::LeftButton);
    QDialog* page = dialog.Advanced().Window();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(page));
    EXPECT_EQ(page->windowTitle(), QStringLiteral("高级设置"));
    EXPECT_EQ(page->windowModality(), Qt::WindowModal);
    auto* apply = In<QPushButton>(page, "Command_应用");
    auto* start = In<QLineEdit>(page, "Text_免打扰");
    EXPECT_TRUE(In<QRadioButton>(page, "Option_半点报时_1")->isChecked());
    auto* hotkey = In<QKeySequenceEdit>(page, "Text_报时热键");
    EXPECT_EQ(hotkey->keySequence(), QKeySequence(QStringLiteral("Ctrl+Alt+Shift+T")));
    EXPECT_EQ(In<QSlider>(page, "Slider_音量")->value(), 60);
    EXPECT_EQ(In<QLabel>(page, "Label_音量值")->text(), QStringLiteral("60%"));
    EXPECT_FALSE(start->isEnabled());
    EXPECT_FALSE(apply->isEnabled());

    ClickIndicator(In<QCheckBox>(page, "Check_免打扰"));
    EXPECT_TRUE(start->isEnabled());
    start->selectAll();
    QTest::keyClicks(start, "12:00-13:30,25:00-07:00");
    In<QSlider>(page, "Slider_音量")->setValue(30);  // as a drag would
    EXPECT_EQ(In<QLabel>(page, "Label_音量值")->text(), QStringLiteral("30%"));
    EXPECT_TRUE(apply->isEnabled());
    QTest::mouseClick(In<QPushButton>(page, "Command_确定"), Qt::LeftButton);
    auto* warning = page->findChild<QMessageBox*>();
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(warning->text().contains(QStringLiteral("“25:00-07:00”无效")));
    EXPECT_EQ(backend.writes, 0);
    EXPECT_EQ(dialog.Advanced().Window(), page);
    warning->accept();

    start->selectAll();
    QTest::keyClicks(start, "12:00-13:30,23:15-07:00");
    auto* halfHours = In<QRadioButton>(page, "Option_半点报时_1");
    QTest::mouseClick(In<QRadioButton>(page, "Option_报时间隔_2"), Qt::LeftButton);
    EXPECT_FALSE(halfHours->isEnabled());  // replaced by the interval, and kept
    EXPECT_TRUE(halfHours->isChecked());
    QTest::keyClick(hotkey, Qt::Key_F9, Qt::ControlModifier | Qt::MetaModifier);
    QTest::mouseClick(In<QPushButton>(page, "Command_确定"), Qt::LeftButton);
    EXPECT_EQ(dialog.Advanced().Window(), nullptr);
    EXPECT_EQ((backend.values[{kIni, "Horalia", "免打扰"}]), "12:00-13:30,23:15-07:00");
    EXPECT_EQ((backend.values[{kIni, "Horalia", "报时间隔"}]), "10");
    EXPECT_FALSE(Find<QRadioButton>("Option_报时设置_0")->isEnabled());  // the hours, replaced
    EXPECT_EQ((backend.values[{kIni, "Horalia", "报时热键"}]), "Ctrl+Win+F9");
    EXPECT_EQ(settings.Volume, 30);
    EXPECT_EQ(backend.writes, 4);  // 免打扰, 报时间隔, 报时热键 and 音量, the keys that changed

    // Closing the dialog from the tray takes an open page with it, unapplied.
    QTest::mouseClick(Find<QPushButton>("Label_高级设置"), Qt::LeftButton);
    ASSERT_NE(dialog.Advanced().Window(), nullptr);
    dialog.Unload();
    EXPECT_EQ(dialog.Advanced().Window(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(backend.writes, 4);
}

// The keyboard alone on both pages (keyboard_cases.h).
TEST_F(SettingsDialogTest, KeyboardReachesTheLinkAndKeepsWorkingAfterApply) {
    using K = KeyboardCase;
    const std::map<Key, Qt::Key> keys{{Key::kTab, Qt::Key_Tab},
                                      {Key::kBackTab, Qt::Key_Backtab},
                                      {Key::kSpace, Qt::Key_Space},
                                      {Key::kReturn, Qt::Key_Return},
                                      {Key::kEscape, Qt::Key_Escape}};
    for (const KeyboardCase& c : KeyboardCases()) {
        const form::Form& form = c.advanced ? AdvancedForm() : SettingsForm();
        const auto named = [&](int id) { return std::string(form::FindControl(form, id)->name); };
        const std::string row = std::string(c.advanced ? "advanced: " : "settings: ") +
                                named(c.focus) + " after " + std::to_string(c.keys.size()) +
                                " keys";
        ShowExposed();
        QDialog* page = dialog.Window();
        if (c.advanced) {
            QTest::mouseClick(Find<QPushButton>("Label_高级设置"), Qt::LeftButton);
            page = dialog.Advanced().Window();
            ASSERT_NE(page, nullptr) << row;
            ASSERT_TRUE(QTest::qWaitForWindowExposed(page)) << row;
        }
        const QPointer<QDialog> watched(page);
        page->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(page)) << row;
        if (c.change != 0) {
            ClickIndicator(In<QAbstractButton>(page, named(c.change).c_str()));
        }
        In<QWidget>(page, named(c.focus).c_str())->setFocus(Qt::TabFocusReason);
        for (const Key key : c.keys) {
            QTest::keyClick(QApplication::focusWidget(), keys.at(key));
        }
        if (c.focusAfter != 0) {
            ASSERT_NE(QApplication::focusWidget(), nullptr) << row;
            EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), named(c.focusAfter))
                << row;
        }
        EXPECT_EQ(dialog.Advanced().Window() != nullptr && !c.advanced, c.outcome == K::kPageOpens)
            << row;
        EXPECT_EQ(watched.isNull() || !watched->isVisible(), c.outcome == K::kCloses) << row;
        dialog.Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST(AboutDialogTest, TextsLinkAndBothKeysCloseAModelessBox) {
    TestApplication();
    FakeOpener opener;
    AboutDialog about(opener);
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        about.Show();
        QDialog* box = about.Window();
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
        // Application-modal, it would block the tray icon's own window on an XEmbed tray.
        EXPECT_EQ(box->windowModality(), Qt::NonModal);
        about.Show();  // a second 关于 brings the open box forward
        EXPECT_EQ(about.Window(), box);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("关于 Horalia"));
        EXPECT_EQ(box->findChild<QLabel*>("lblVersion")->text(), QStringLiteral("版本 3.0.0.0"));
        EXPECT_EQ(box->findChild<QLabel*>("lblTitle")->text(), QStringLiteral("Horalia"));
        EXPECT_EQ(box->findChild<QLabel*>("lblDescription")->text().count('\n'), 4);
        auto* link = box->findChild<QLabel*>("Label_链接官方网站");
        EXPECT_EQ(link->text().toStdString(), kVendorSiteUrl);
        const std::size_t openedBefore = opener.opened.size();
        QTest::mouseClick(link, Qt::RightButton);
        EXPECT_EQ(opener.opened.size(), openedBefore);
        QTest::mouseClick(link, Qt::LeftButton);
        QTest::keyClick(box, key);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(about.Window(), nullptr);
    }
    EXPECT_EQ(opener.opened, std::vector<std::string>(2, kVendorSiteUrl));
    about.Show();
    about.Unload();
    EXPECT_EQ(about.Window(), nullptr);
}

TEST(AboutDialogTest, ButtonStateIsTheLeftButtonAloneOnlyForTheLeftButton) {
    EXPECT_EQ(ButtonState(Qt::LeftButton), kLeftButton);
    EXPECT_EQ(ButtonState(Qt::LeftButton | Qt::RightButton), kLeftButton | kRightButton);
    EXPECT_NE(ButtonState(Qt::LeftButton | Qt::BackButton), kLeftButton);
    EXPECT_EQ(ButtonState(Qt::MiddleButton), kMiddleButton);
}

// Serves fixed responses by path on the loopback interface; counts the requests.
class LoopbackServer {
  public:
    LoopbackServer() {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    buffer_[socket] += socket->readAll();
                    if (buffer_[socket].contains("\r\n\r\n")) {
                        Respond(socket, buffer_[socket].split(' ').value(1));
                    }
                });
            }
        });
    }
    std::string Url(const char* path) const {
        return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
    }
    std::map<QByteArray, std::pair<QByteArray, QByteArray>> pages;  // path: type, body
    int requests = 0;

  private:
    void Respond(QTcpSocket* socket, const QByteArray& path) {
        ++requests;
        const auto found = pages.find(path);
        QByteArray reply =
            found == pages.end()
                ? "HTTP/1.0 404 Not Found\r\n\r\n"
                : "HTTP/1.0 200 OK\r\nContent-Type: " + found->second.first +
                      "\r\nContent-Length: " + QByteArray::number(found->second.second.size()) +
                      "\r\n\r\n" + found->second.second;
        socket->write(reply);
        socket->disconnectFromHost();
    }
    QTcpServer server_;
    std::map<QTcpSocket*, QByteArray> buffer_;
};

class RecordingPump : public EventPump {
  public:
    void ProcessPendingEvents() override {
        if (window != nullptr && *window != nullptr) {
            tops.push_back((*window)->Window()->pos().y());
        }
        QCoreApplication::processEvents();
    }
    AdWindow** window = nullptr;
    std::vector<int> tops;
};

QByteArray TinyPng() {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray data;
    QBuffer buffer(&data);
    image.save(&buffer, "PNG");
    return data;
}

class AdWindowTest : public testing::Test {
  protected:
    AdWindowTest() { TestApplication(); }
    AdWindow& Make(const std::string& url) {
        ad = std::make_unique<AdWindow>(pump, opener, url, [] {
            return ScreenArea{QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 728)};
        });
        raw = ad.get();
        pump.window = &raw;
        return *ad;
    }
    RecordingPump pump;
    FakeOpener opener;
    std::unique_ptr<AdWindow> ad;
    AdWindow* raw = nullptr;
};

TEST_F(AdWindowTest, CompletedPageWithImagesSlidesUpAndRestsOnThePanel) {
    LoopbackServer server;
    server.pages["/ad.html"] = {"text/html; charset=utf-8",
                                "<html><body><p>推荐</p><img src=\"pic.png\">"
                                "<script>document.write('SCRIPT')</script></body></html>"};
    server.pages["/pic.png"] = {"image/png", TinyPng()};
    AdWindow& window = Make(server.Url("/ad.html"));
    window.Load();
    EXPECT_FALSE(window.Window()->isVisible());
    EXPECT_EQ(window.Window()->pos().y(), 768);
    // The slide runs inside the completion event; it is over once the window rests.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Window()->pos().y() < 768 - 200; }, 10000));
    QTest::qWait(100);
    EXPECT_EQ(server.requests, 2);
    const QRect frame = window.Window()->frameGeometry();
    EXPECT_TRUE(window.Window()->isVisible());
    EXPECT_EQ(frame.y() + frame.height(), 728);  // bottom edge on the panel's top
    EXPECT_EQ(frame.x() + frame.width(), 1024);
    EXPECT_TRUE(std::is_sorted(pump.tops.rbegin(), pump.tops.rend()));
    EXPECT_EQ(pump.tops.front(), 768);
    const QString text = window.Browser()->toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("推荐")));
    EXPECT_FALSE(text.contains(QStringLiteral("SCRIPT")));
    const QUrl image(QString::fromStdString(server.Url("/pic.png")));
    EXPECT_EQ(window.Browser()->loadResource(QTextDocument::ImageResource, image).toByteArray(),
              TinyPng());

    window.Window()->close();  // the close box
    EXPECT_EQ(opener.opened, std::vector<std::string>{kSponsorUrl});
    EXPECT_EQ(window.Window(), nullptr);
}

TEST_F(AdWindowTest, FailedFetchStaysHiddenAndQuietExitOpensNothing) {
    LoopbackServer server;  // knows no page: 404
    AdWindow& window = Make(server.Url("/ad.html"));
    window.Load();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests == 1; }, 10000));
    QTest::qWait(300);
    EXPECT_FALSE(window.Window()->isVisible());
    EXPECT_TRUE(pump.tops.empty());
    window.UnloadQuietly();
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_EQ(window.Window(), nullptr);
}

TEST(WebPageTest, LocalFilesAreNotReadForAPage) {
    TestApplication();
    HtmlView view(nullptr, [](const QUrl&) {});
    const QVariant r = view.document()->resource(
        QTextDocument::ImageResource, QUrl::fromLocalFile(QStringLiteral("/etc/hostname")));
    EXPECT_TRUE(r.toByteArray().isEmpty());
    const QList<QUrl> images = ImageAddresses(
        QStringLiteral("<img src=\"a.png\"><img src=\"file:///etc/hostname\"><img src=\"a.png\">"),
        QUrl(QStringLiteral("http://example.com/softs/ad.html")));
    EXPECT_EQ(images, QList<QUrl>{QUrl(QStringLiteral("http://example.com/softs/a.png"))});
}

TEST(WebPageTest, DecodesByHeaderThenMetaThenUtf8) {
    const QByteArray gbk("\xcd\xc6\xbc\xf6");  // 推荐 in GBK
    const QString expected = QStringLiteral("推荐");
    if (QStringDecoder("GBK").isValid()) {
        EXPECT_EQ(DecodeHtml(gbk, QStringLiteral("text/html; charset=GBK")), expected);
        EXPECT_TRUE(DecodeHtml("<meta charset=\"gbk\">" + gbk, {}).endsWith(expected));
    }
    EXPECT_EQ(DecodeHtml(expected.toUtf8(), QStringLiteral("text/html")), expected);
}

TEST(ScreenAreaTest, BottomPanelHeight) {
    const struct {
        QRect available;
        int expected;
    } cases[] = {{QRect(0, 0, 1024, 728), 40}, {QRect(0, 30, 1024, 738), 0}, {QRect(), 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(BottomPanelHeight({QRect(0, 0, 1024, 768), c.available}), c.expected);
    }
}

}  // namespace
}  // namespace horalia::qt
