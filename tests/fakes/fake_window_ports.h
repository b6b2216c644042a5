// What the settings dialog, the about box and the advertisement window reach outside themselves:
// the main form's controls and the web browser. Both record what they were asked.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/extras/url_opener.h"
#include "ui/settings/main_form_callbacks.h"

namespace horalia::fakes {

// Each control stays unset until the dialog sets it.
class FakeMainForm final : public MainFormCallbacks {
  public:
    void SetAnnounceTimerEnabled(bool enabled) override { announceTimer = enabled; }
    void SetSyncTimerEnabled(bool enabled) override { syncTimer = enabled; }
    void SetStartMenuChecked(bool checked) override { startChecked = checked; }
    void SettingsNotSaved() override { ++notSaved; }
    void RefreshSettings() override { ++refreshes; }
    void StartNotChanged() override { ++startNotChanged; }
    HotkeyState AnnounceHotkeyState() const override { return hotkeyState; }
    std::optional<bool> announceTimer, syncTimer, startChecked;
    HotkeyState hotkeyState = HotkeyState::kActive;
    int notSaved = 0;
    int refreshes = 0;
    int startNotChanged = 0;
};

class FakeUrlOpener final : public UrlOpener {
  public:
    void Open(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

}  // namespace horalia::fakes
