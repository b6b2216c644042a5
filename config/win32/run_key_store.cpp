// The start entry as the value "Chimewick" under the current user's Run key, as earlier versions
// kept it.
#include <optional>

#include "config/start_with_system.h"
#include "config/win32/logon_task_store.h"
#include "config/win32/registry.h"

namespace horalia {
namespace {

constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class RunKeyStore : public StartEntryStore {
  public:
    std::optional<std::string> Read() override {
        std::int32_t type = 1;
        std::string text;
        if (!win32::GetRegValue(win32::kHkeyCurrentUser, kRunKey, kStartEntryName, type, text)) {
            return std::nullopt;
        }
        return text;
    }
    bool Write(const std::string& command) override {
        return win32::SetRegValue(win32::kHkeyCurrentUser, kRunKey, kStartEntryName, 1, command);
    }
    bool Remove() override {
        return win32::DeleteRegValue(win32::kHkeyCurrentUser, kRunKey, kStartEntryName);
    }
    std::string Location() const override {
        return std::string("HKEY_CURRENT_USER\\") + kRunKey + " " + kStartEntryName;
    }
};

}  // namespace

StartEntryStore& RunValueStartStore() {
    static RunKeyStore store;
    return store;
}

StartEntryStore& SystemStartStore() {
    static ReplacingStartStore store(LogonTaskStartStore(), RunValueStartStore());
    return store;
}

// The Run value is the current user's only: other people's are in their own registry hives.
bool RemoveEveryStartEntry() {
    StartEntryStore& runValue = RunValueStartStore();
    // Fails quietly when there is none; what is read then is empty (the key without the value).
    runValue.Remove();
    const std::optional<std::string> left = runValue.Read();
    return RemoveEveryLogonTask() && (!left || left->empty());
}

}  // namespace horalia
