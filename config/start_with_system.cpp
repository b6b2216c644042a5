#include "config/start_with_system.h"

namespace horalia {

std::string StartCommand(const std::string& executablePath) {
    return "\"" + executablePath + "\"";
}

bool IsStartRegistered(StartEntryStore& store, const std::string& startCommand) {
    const std::optional<std::string> command = store.Read();
    return command.has_value() && *command == startCommand;
}

void RegisterStart(StartEntryStore& store, const std::string& startCommand) {
    if (!IsStartRegistered(store, startCommand)) {
        store.Write(startCommand);
    }
}

void UnregisterStart(StartEntryStore& store) {
    store.Remove();
}

bool SetStartEntry(StartEntryStore& store, const std::string& startCommand, bool on) {
    if (on) {
        RegisterStart(store, startCommand);
    } else {
        UnregisterStart(store);
    }
    return on ? IsStartRegistered(store, startCommand) : !store.Read().has_value();
}

bool ReplacingStartStore::Write(const std::string& command) {
    if (!current_.Write(command)) {
        return false;
    }
    if (earlier_.Read()) {
        earlier_.Remove();
    }
    return true;
}

bool ReplacingStartStore::Remove() {
    // The earlier entry would be another person's too.
    if (Refusal()) {
        return false;
    }
    if (earlier_.Read()) {
        earlier_.Remove();
    }
    return current_.Remove();
}

}  // namespace horalia
