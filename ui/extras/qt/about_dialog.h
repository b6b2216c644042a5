// The Qt window of frmAbout: a modeless dialog with the program's icon, title, version,
// description and the vendor's link. Modeless, because an application-modal window would block
// every other window of the program, the tray icon's own window on an XEmbed tray included.
#pragma once

#include <QIcon>
#include <QPointer>
#include <optional>

#include "ui/extras/about_box.h"

#include <QDialog>

namespace horalia::qt {

// The mouse buttons held, as the link label's handler takes them.
int ButtonState(Qt::MouseButtons buttons);

class AboutDialog {
  public:
    // icon: the program's icon; the application's window icon when null.
    explicit AboutDialog(UrlOpener& opener, QIcon icon = {});
    ~AboutDialog();
    AboutDialog(const AboutDialog&) = delete;
    AboutDialog& operator=(const AboutDialog&) = delete;

    // Loads and shows the box and returns at once. An open box is brought forward.
    void Show();
    // Closes the open box (nothing when it is not open).
    void Unload();
    QDialog* Window() const { return window_; }

  private:
    class Box;
    class LinkLabel;

    void CreateControls();

    UrlOpener& opener_;
    QIcon icon_;
    std::optional<frmAbout> form_;
    QPointer<QDialog> window_;
};

}  // namespace horalia::qt
