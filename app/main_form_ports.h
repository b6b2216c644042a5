// The seams between the main form's logic (app/form_main.h) and the rest of the program: the
// tray icon and the process here; the windows it opens and closes and the two external hooks in
// ui/extras/main_form_windows.h; what the settings dialog may change on the running main form in
// ui/settings/main_form_callbacks.h.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/tray_menu.h"
#include "config/hotkey.h"
#include "ui/extras/main_form_windows.h"
#include "ui/settings/main_form_callbacks.h"

namespace horalia {

// The notification-area icon and its popup menu, built by the shell from kTrayMenu.
class TrayPort {
  public:
    virtual ~TrayPort() = default;
    virtual void SetToolTip(const std::string& text) = 0;  // lines joined by CR LF
    virtual void SetMenuChecked(TrayMenuEntry entry, bool checked) = 0;
    // Opens the popup at the mouse pointer; a chosen entry comes back as its own event.
    virtual void PopupMenuAtPointer() = 0;
    // A short message beside the icon: a balloon on Windows, a desktop notification on Linux.
    virtual void ShowNotification(const std::string& title, const std::string& text) = 0;
    // A question with the buttons 是 and 否; closing it answers 否. The answer is handed to
    // `answered` on the user-interface thread, from inside this call or later.
    virtual void AskYesNo(const std::string& title, const std::string& text,
                          std::function<void(bool yes)> answered) = 0;
};

// The process around the main form.
class ProcessPort {
  public:
    virtual ~ProcessPort() = default;
    // True when a top-level window with exactly this title exists (the running instance's marker).
    virtual bool MarkerWindowExists(const std::string& title) = 0;
    virtual void EndProcessNow() = 0;  // silently, before anything is loaded
    virtual void SetCurrentFolder(const std::string& folder) = 0;
    // Removes the tray icon, stops the timers and releases the socket; the process then ends.
    virtual void UnloadMainForm() = 0;
};

// A key combination that reaches this program from anywhere on the desktop. A press comes back
// as Form_Main::Hotkey_报时热键_Pressed.
class HotkeyPort {
  public:
    virtual ~HotkeyPort() = default;
    // Gives up the combination held before, if any, and takes this one: kActive, kTaken when
    // another program holds it (then nothing is held), kUnavailable where the desktop has no
    // global keys.
    virtual HotkeyState Register(const Hotkey& hotkey) = 0;
    virtual void Unregister() = 0;
};

// One way the desktop asks programs to keep quiet: a full-screen program, a presentation, do not
// disturb. Asked just before a scheduled announcement; a source that cannot tell says no.
class QuietSource {
  public:
    virtual ~QuietSource() = default;
    virtual bool AsksForQuiet() = 0;
};

// The desktop asks for quiet when any of its sources does.
class QuietSources final : public QuietSource {
  public:
    void Add(std::unique_ptr<QuietSource> source) { sources_.push_back(std::move(source)); }
    bool AsksForQuiet() override {
        for (const auto& source : sources_) {
            if (source->AsksForQuiet()) {
                return true;
            }
        }
        return false;
    }

  private:
    std::vector<std::unique_ptr<QuietSource>> sources_;
};

}  // namespace horalia
