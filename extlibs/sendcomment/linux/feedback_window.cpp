#include "extlibs/sendcomment/linux/feedback_window.h"

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QThread>

#include "common/qt/desktop_link.h"
#include "common/vendor_addresses.h"
#include "extlibs/sendcomment/feedback_form.h"
#include "extlibs/sendcomment/feedback_mail.h"

namespace horalia::feedback {
namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

FeedbackWindow::FeedbackWindow(const std::string& programText) : subject_(programText) {
    widgets_.Create(*this, FeedbackForm(), [this](int id) { OnClicked(id); });
    setWindowTitle(FromUtf8(FeedbackCaption(subject_)));
    if (auto* box = widgets_.As<QPlainTextEdit>(kCommentBoxId)) {
        // Longer comments make mailto: links that mail programs refuse.
        connect(box, &QPlainTextEdit::textChanged, box, [box] {
            const QString text = box->toPlainText();
            if (static_cast<std::size_t>(text.size()) > kMaxCommentLength) {
                box->setPlainText(text.left(static_cast<qsizetype>(kMaxCommentLength)));
                box->moveCursor(QTextCursor::End);
            }
        });
    }
}

void FeedbackWindow::OnClicked(int id) {
    if (id == kSendId) {
        Send();
    } else if (id == kCancelId) {
        reject();
    }
}

void FeedbackWindow::Send() {
    // One message at a time: a second 发送 before the desktop has answered is not another mail.
    if (sending_) {
        return;
    }
    sending_ = true;
    const auto* box = widgets_.As<QPlainTextEdit>(kCommentBoxId);
    const std::string comment = box != nullptr ? box->toPlainText().toStdString() : std::string();
    const std::string link = FeedbackMailto(kVendorMailAddress, subject_, comment);
    qt::OpenLink(FromUtf8(link), this, [this](bool opened) {
        sending_ = false;
        if (opened) {
            accept();
        } else {
            TellMailFailed();
        }
    });
}

// The window and the typed text stay; the message does not hold up the program either.
void FeedbackWindow::TellMailFailed() {
    auto* message = new QMessageBox(
        QMessageBox::Warning, QStringLiteral("Horalia"),
        FromUtf8(kMailFailedText + std::string(kVendorMailAddress)) + QStringLiteral("。"),
        QMessageBox::Ok, this);
    message->setAttribute(Qt::WA_DeleteOnClose);
    message->open();
}

void ShowFeedbackWindow(const std::string& programText) {
    auto* running = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (running != nullptr && QThread::currentThread() == running->thread()) {
        auto* window = new FeedbackWindow(programText);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }
    if (running != nullptr) {
        return;  // widgets belong to the program's own thread: no window from here
    }
    int argc = 1;
    char name[] = "horalia";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    FeedbackWindow window(programText);
    window.exec();
}

}  // namespace horalia::feedback
