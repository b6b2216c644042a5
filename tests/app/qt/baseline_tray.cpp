// The baseline of the tray measurements (tray_measure.sh): a bare Qt 6 tray program built the way
// horalia is, with an icon, a tooltip rewritten every second and an eleven-entry menu, and nothing
// else.
#include <QApplication>
#include <QDateTime>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/horalia-%1.png").arg(size), QSize(size, size));
    }
    QSystemTrayIcon tray(icon);
    QMenu menu;
    for (int i = 0; i < 11; ++i) {
        menu.addAction(QStringLiteral("Entry %1").arg(i));
    }
    tray.setContextMenu(&menu);
    QTimer clock;
    clock.setTimerType(Qt::PreciseTimer);
    QObject::connect(&clock, &QTimer::timeout, [&tray] {
        tray.setToolTip(QStringLiteral("Baseline\n") + QDateTime::currentDateTime().toString());
    });
    clock.start(1000);
    tray.show();
    return QApplication::exec();
}
