// The Qt window of frmAbout: a modal dialog with the program's icon, title, version,
// description and the vendor's link.
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

    // Loads and shows the box; returns when it is closed. An open box is brought forward.
    void ShowModal();
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
