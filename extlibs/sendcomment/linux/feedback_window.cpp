#include "extlibs/sendcomment/linux/feedback_window.h"

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QThread>

#include "common/vendor_addresses.h"
#include "extlibs/desktop/linux/desktop_process.h"
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
    const auto* box = widgets_.As<QPlainTextEdit>(kCommentBoxId);
    const std::string comment = box != nullptr ? box->toPlainText().toStdString() : std::string();
    const std::string link = FeedbackMailto(kVendorMailAddress, subject_, comment);
    // xdg-open's exit status tells whether a mail program took the link.
    if (desktop::OpenWithDesktop(link)) {
        accept();
        return;
    }
    // The window and the typed text stay; the message does not hold up the program either.
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
