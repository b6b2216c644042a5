// The start entry as an XDG autostart desktop file, <config home>/autostart/Chimewick.desktop.
#pragma once

#include <optional>
#include <string>

#include "config/start_with_system.h"

namespace horalia::linux_backend {

class XdgAutostartStore : public StartEntryStore {
  public:
    // configHome: $XDG_CONFIG_HOME, or ~/.config; empty: no store (nothing read or written).
    explicit XdgAutostartStore(std::string configHome) : configHome_(std::move(configHome)) {}

    // The Exec value of the file's [Desktop Entry] group, whoever wrote the file.
    std::optional<std::string> Read() override;
    bool Write(const std::string& command) override;
    bool Remove() override;
    std::string Location() const override { return FilePath(); }

    std::string FilePath() const;

  private:
    std::string configHome_;
};

// The folder $XDG_CONFIG_HOME names, else $HOME/.config; empty when neither is absolute.
std::string ConfigHome();

}  // namespace horalia::linux_backend
