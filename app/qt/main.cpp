// horalia: the talking clock in the notification area of a Linux desktop.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <malloc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/form_main.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_process.h"

int main(int argc, char** argv) {
    // --help and --version are answered without a display.
    if (const auto answer =
            horalia::AnswerCommandLine(std::vector<std::string>(argv + 1, argv + argc))) {
        std::fputs(answer->output.c_str(), stdout);
        std::fputs(answer->error.c_str(), stderr);
        return answer->exitCode;
    }
    // The instance check comes before anything else: a second start ends without opening the
    // display or reading a file.
    horalia::qt::QtProcess process;
    horalia::EndIfAlreadyRunning(process);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("horalia"));
    QApplication::setDesktopFileName(QStringLiteral("com.example.horalia"));
    // The program has no visible window; closing a dialog must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(horalia::qt::ApplicationIcon());
    // Every text of the program is Chinese; Qt's own (the folder picker, standard buttons) follow
    // when the system has Qt's translations. Without them they stay English.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    horalia::qt::MainWindow mainWindow(process);
    mainWindow.Load();
    // Start-up and the update and advertisement step after it work through buffers that they
    // free again, and glibc keeps the freed top of the heap for later: handed back once that
    // step is over, it is about a megabyte the tray never needs again.
    constexpr int kSettledMs = horalia::kUpdateTimerIntervalMs + 500;
    QTimer::singleShot(kSettledMs, [] { malloc_trim(0); });
    return QApplication::exec();
}
