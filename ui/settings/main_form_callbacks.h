// What the settings dialog and the start switch push into the running main form.
#pragma once

#include "config/hotkey.h"

namespace horalia {

class MainFormCallbacks {
  public:
    virtual ~MainFormCallbacks() = default;
    virtual void SetAnnounceTimerEnabled(bool enabled) = 0;  // Timer_自动报时
    virtual void SetSyncTimerEnabled(bool enabled) = 0;      // Timer_自动校时
    virtual void SetStartMenuChecked(bool checked) = 0;  // 托盘图标_开机启动's check mark
    // A write to Value.ini failed: the values hold for this run only, and the person is told.
    virtual void SettingsNotSaved() = 0;
    // A page is about to show the settings: Value.ini, when someone changed it since it was last
    // read, is read again and the program follows it.
    virtual void RefreshSettings() = 0;
    // Start at log-on could not be changed: the person is told why; the ticks stay as they were.
    virtual void StartNotChanged() = 0;
    // What became of the announcement hotkey the settings name.
    virtual HotkeyState AnnounceHotkeyState() const = 0;
};

}  // namespace horalia
