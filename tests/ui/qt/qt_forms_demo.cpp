// Opens one window for a screenshot or a screen reader's look ("settings", "advanced" or
// "about"), for 8 seconds or as many as the second argument says.
#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <cstring>

#include "config/ini_file.h"
#include "fakes/fake_profile_backend.h"
#include "fakes/fake_start_store.h"
#include "fakes/fake_window_ports.h"
#include "ui/extras/qt/about_dialog.h"
#include "ui/settings/qt/settings_dialog.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    horalia::fakes::FakeProfileBackend backend;
    horalia::读写配置 config(backend);
    horalia::fakes::FakeStartStore store;
    horalia::SettingsRecord settings;
    horalia::fakes::FakeMainForm mainForm;
    horalia::fakes::FakeUrlOpener opener;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 8;
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    if (argc > 1 && std::strcmp(argv[1], "about") == 0) {
        horalia::qt::AboutDialog about(opener);
        about.Show();
        return QApplication::exec();
    }
    if (argc > 1 && std::strcmp(argv[1], "advanced") == 0) {
        settings.QuietPeriods = {{12 * 60, 13 * 60 + 30}, {22 * 60 + 30, 7 * 60}};
        settings.HalfOrQuarterHours = 1;
        settings.AnnounceInterval = 10;
        settings.AnnounceDays = horalia::ParseAnnouncementDays("1-5").value();
        settings.Volume = 80;
    }
    horalia::qt::SettingsDialog dialog(
        horalia::SettingsDialogServices{config, store, "horalia", settings});
    dialog.Show(mainForm);
    if (argc > 1 && std::strcmp(argv[1], "advanced") == 0) {
        dialog.ShowAdvancedPage();
    }
    return QApplication::exec();
}
