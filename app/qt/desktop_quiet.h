// The ways a Linux desktop asks programs to keep quiet, asked on the UI thread just before a
// scheduled announcement.
#pragma once

#include <memory>

#include "app/main_form_ports.h"
#include "app/qt/x11_display.h"

typedef struct _GSettings GSettings;

namespace horalia::qt {

struct GioSettings;

// The notification server's do-not-disturb: its Inhibited property (KDE Plasma has it). No
// server, or one without the property, says no; one that does not answer in 250 ms too.
class NotificationsInhibited final : public QuietSource {
  public:
    bool AsksForQuiet() override;
};

// GNOME's do-not-disturb: banners switched off (org.gnome.desktop.notifications show-banners).
// Where GIO or that schema is not installed, no.
class GnomeBannersOff final : public QuietSource {
  public:
    GnomeBannersOff() = default;
    ~GnomeBannersOff() override;  // lets go of the GSettings object (a GObject)
    GnomeBannersOff(const GnomeBannersOff&) = delete;
    GnomeBannersOff& operator=(const GnomeBannersOff&) = delete;
    bool AsksForQuiet() override;

  private:
    bool opened_ = false;
    const GioSettings* gio_ = nullptr;
    GSettings* settings_ = nullptr;
};

// On X11: the active window is full screen (a film, a presentation, a game).
class X11FullScreen final : public QuietSource {
  public:
    explicit X11FullScreen(const X11Display& display) : display_(display) {}
    bool AsksForQuiet() override;

  private:
    X11Display display_;
    xcb_atom_t activeWindow_ = XCB_NONE;  // interned on first use
    xcb_atom_t state_ = XCB_NONE;
    xcb_atom_t fullScreen_ = XCB_NONE;
};

// All three.
QuietSources DesktopQuietSources();

}  // namespace horalia::qt
