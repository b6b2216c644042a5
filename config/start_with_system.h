// Starting at log-on: one named entry ("Chimewick") in a per-user store of start-up commands.
// Windows: a log-on task of the Task Scheduler for the current user, with the highest rights (the
// program asks for them, and Windows starts no such program from the Run key); earlier versions
// used the value under HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run.
// Linux: the XDG autostart file $XDG_CONFIG_HOME/autostart/Chimewick.desktop.
#pragma once

#include <optional>
#include <string>

namespace horalia {

inline constexpr char kStartEntryName[] = "Chimewick";

class StartEntryStore {
  public:
    virtual ~StartEntryStore() = default;
    // The command the entry starts, or nothing when there is no entry.
    virtual std::optional<std::string> Read() = 0;
    virtual bool Write(const std::string& command) = 0;
    virtual bool Remove() = 0;
    // Where the entry is kept, for a person to read (a file's path, a task's name).
    virtual std::string Location() const = 0;
    // Why the entry cannot be changed for the person at the computer, for that person to read;
    // nothing when it can.
    virtual std::optional<std::string> Refusal() const { return std::nullopt; }
};

// The platform's store (defined in config/win32 or config/linux).
StartEntryStore& SystemStartStore();
// Removes every start entry of the program this account may remove, as an uninstaller does:
// on Windows every person's log-on task; true when none is left.
bool RemoveEveryStartEntry();

// A store that replaces an earlier one: what is read and written is the current store's; an
// entry the earlier store still holds is removed once the current one has been written, and
// with every removal.
class ReplacingStartStore final : public StartEntryStore {
  public:
    ReplacingStartStore(StartEntryStore& current, StartEntryStore& earlier)
        : current_(current), earlier_(earlier) {}
    std::optional<std::string> Read() override { return current_.Read(); }
    bool Write(const std::string& command) override;
    bool Remove() override;
    std::string Location() const override { return current_.Location(); }
    std::optional<std::string> Refusal() const override { return current_.Refusal(); }

  private:
    StartEntryStore& current_;
    StartEntryStore& earlier_;
};

// The quoted full path of the running executable: "D:\Tools\Horalia\Horalia.exe" in quotes.
std::string StartCommand(const std::string& executablePath);

bool IsStartRegistered(StartEntryStore& store, const std::string& startCommand);
void RegisterStart(StartEntryStore& store, const std::string& startCommand);
void UnregisterStart(StartEntryStore& store);
// Registers (on) or removes the entry; true when the store then holds what was asked.
bool SetStartEntry(StartEntryStore& store, const std::string& startCommand, bool on);

}  // namespace horalia
