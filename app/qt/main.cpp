// horalia: the talking clock in the notification area of a Linux desktop.
#include <QApplication>

#include "app/form_main.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_process.h"

int main(int argc, char** argv) {
    // The instance check comes before anything else: a second start ends without opening the
    // display or reading a file.
    horalia::qt::QtProcess process;
    horalia::EndIfAlreadyRunning(process);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("horalia"));
    QApplication::setDesktopFileName(QStringLiteral("horalia"));
    // The program has no visible window; closing a dialog must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(horalia::qt::ApplicationIcon());

    horalia::qt::MainWindow mainWindow(process);
    mainWindow.Load();
    return QApplication::exec();
}
