// A start-entry store in memory that counts its writes and removals.
#pragma once

#include <optional>
#include <string>

#include "config/start_with_system.h"

namespace horalia::fakes {

class FakeStartStore : public StartEntryStore {
  public:
    std::optional<std::string> Read() override { return entry; }
    bool Write(const std::string& command) override {
        ++writes;
        if (!writable) {
            return false;
        }
        entry = command;
        return true;
    }
    bool Remove() override {
        ++removals;
        const bool had = entry.has_value();
        entry.reset();
        return had;
    }
    std::string Location() const override { return "~/.config/autostart/Chimewick.desktop"; }
    std::optional<std::string> Refusal() const override { return refusal; }

    std::optional<std::string> entry;
    bool writable = true;
    std::optional<std::string> refusal;
    int writes = 0;
    int removals = 0;
};

}  // namespace horalia::fakes
