// TrayIcon_托盘图标 and its popup menu 托盘图标 on Qt: a QSystemTrayIcon and a QMenu built from
// kTrayMenu. The menu is the icon's context menu, so that a StatusNotifierItem panel (XFCE, LXQt,
// KDE Plasma, GNOME's AppIndicator extension) gets it over D-Bus and shows it itself; an XEmbed
// tray has Qt pop it. The icon reports clicks; the core decides what a click does.
#pragma once

#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/main_form_ports.h"
#include "app/tray_menu.h"

class QAction;

namespace horalia::qt {

// The button number the main form expects for an activation: 1 for Trigger (left click), 2 for
// Context (right click), 0 (no button the form acts on) for every other reason.
std::int16_t TrayButton(QSystemTrayIcon::ActivationReason reason);

enum class TrayKind { kNone, kXEmbedOnly, kStatusNotifier };
// The notification area there is now, found without asking Qt (see ShowWhenTrayAvailable).
TrayKind AvailableTray();

// The core's CR LF line breaks as the '\n' breaks a Qt tooltip understands.
QString ToolTipText(const std::string& crlfText);

class QtTray final : public TrayPort {
  public:
    explicit QtTray(const QIcon& icon);

    void OnClick(std::function<void(std::int16_t button)> clicked) {
        clicked_ = std::move(clicked);
    }
    void OnMenuChosen(std::function<void(TrayMenuEntry)> chosen) { chosen_ = std::move(chosen); }

    // Shows the icon once a notification area exists, looking again every second until then: at
    // log-on the panel may start after this program. The icon is made only then, because Qt
    // settles once per process whether its icons go to a StatusNotifierItem host, when the first
    // is made or the tray is first asked for.
    void ShowWhenTrayAvailable();
    void Hide();

    void SetToolTip(const std::string& text) override;
    void SetMenuChecked(TrayMenuEntry entry, bool checked) override;
    void PopupMenuAtPointer() override;
    void ShowNotification(const std::string& title, const std::string& text) override;
    void AskYesNo(const std::string& title, const std::string& text,
                  std::function<void(bool yes)> answered) override;

    // Made on first use.
    QSystemTrayIcon& Icon();
    QMenu& Menu() { return menu_; }
    QAction* Action(TrayMenuEntry entry) { return actions_[TrayMenuIndex(entry)]; }

  private:
    void BuildMenu();
    void ShowIfTrayAvailable();

    QIcon image_;
    QString toolTip_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    QMenu menu_;
    int xembedOnlyPolls_ = 0;
    QTimer trayPoll_;
    std::array<QAction*, kTrayMenu.size()> actions_{};
    std::function<void(std::int16_t)> clicked_;
    std::function<void(TrayMenuEntry)> chosen_;
    std::optional<std::pair<std::string, std::string>> pendingNotification_;  // title, text
};

}  // namespace horalia::qt
