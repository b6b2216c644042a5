#include "extlibs/update/linux/desktop_update_ports.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "common/qt/desktop_link.h"
#include "extlibs/update/linux/curl_fetch.h"
#include "extlibs/update/update_text.h"

namespace horalia::update {

std::optional<std::string> DesktopUpdatePorts::Fetch(const std::string& url) {
    return FetchWithCurl(url);
}

bool DesktopUpdatePorts::AskToOpen(const std::string& version) {
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (application == nullptr)
        return false;
    bool yes = false;
    const auto ask = [&] {
        yes =
            QMessageBox::question(nullptr, QString::fromUtf8(kUpdatePromptTitle),
                                  QString::fromUtf8(UpdatePromptText(version))) == QMessageBox::Yes;
    };
    // Widgets belong to the program's own thread. Should the program quit first, Qt drops the
    // call, releases this thread and the answer stays no.
    if (QThread::currentThread() == application->thread())
        ask();
    else
        QMetaObject::invokeMethod(application, ask, Qt::BlockingQueuedConnection);
    return yes;
}

void DesktopUpdatePorts::OpenPage(const std::string& url) {
    // Opened from the program's own thread, whose event loop hears the desktop's answer. Only a
    // yes from AskToOpen leads here, so a program is running.
    if (QCoreApplication* application = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(application,
                                  [page = QString::fromStdString(url)] { qt::OpenLink(page); });
    }
}

}  // namespace horalia::update
