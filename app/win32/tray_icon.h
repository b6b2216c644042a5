// The notification-area icon of the main window and its popup menu: added when the window is
// made, added again when the shell restarts (TaskbarCreated) or lost it, removed when the window
// goes. Its callback messages come to the window, which asks this class what they mean.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/main_form_ports.h"
#include "common/win32/handles.h"

namespace horalia::win32 {

class TrayIcon final : public TrayPort {
  public:
    // The message the icon's mouse events come to the window as.
    static constexpr UINT kCallbackMessage = WM_APP + 1;

    // Loads the icon resource and builds the popup menu; nothing is shown yet.
    explicit TrayIcon(HINSTANCE instance);

    // Puts the icon beside the clock for this window, and lets an elevated window hear of a
    // restarted shell.
    void Add(HWND window);
    // Takes it away; the window forgets it.
    void Remove();
    // True for the message the shell broadcasts when it restarts; the icon is added again.
    bool ReAddOnTaskbarCreated(UINT message);
    // The button of a callback message's lParam (1 left, 2 right), or nothing for other events.
    std::optional<std::int16_t> ButtonOf(LPARAM lParam) const;

    void SetToolTip(const std::string& text) override;
    void SetMenuChecked(TrayMenuEntry entry, bool checked) override;
    void PopupMenuAtPointer() override;
    void ShowNotification(const std::string& title, const std::string& text) override;
    void AskYesNo(const std::string& title, const std::string& text,
                  std::function<void(bool yes)> answered) override;

  private:
    NOTIFYICONDATAW IconData(UINT flags) const;
    void AddAgain();

    HWND window_ = nullptr;
    UniqueMenu menu_;
    UniqueIcon icon_;
    UINT taskbarCreatedMessage_ = 0;
    bool added_ = false;
    bool versionFour_ = false;  // the notification icon API's version 4 was accepted
    std::wstring toolTip_;
};

}  // namespace horalia::win32
