// A profile backend in memory: one map per file path, names compared as given.
#pragma once

#include <charconv>
#include <map>
#include <string>
#include <tuple>

#include "config/profile_backend.h"

namespace horalia::fakes {

class FakeProfileBackend : public ProfileBackend {
  public:
    using Key = std::tuple<std::string, std::string, std::string>;  // path, section, key

    std::int32_t GetInt(const std::string& section, const std::string& key, std::int32_t fallback,
                        const std::string& path) override {
        const auto found = values.find({path, section, key});
        if (found == values.end()) {
            return fallback;
        }
        std::int32_t value = 0;
        std::from_chars(found->second.data(), found->second.data() + found->second.size(), value);
        return value;
    }
    std::string GetString(const std::string& section, const std::string& key, std::int32_t size,
                          const std::string& path) override {
        const auto found = values.find({path, section, key});
        if (found == values.end() || size <= 0) {
            return {};
        }
        return found->second.substr(0, static_cast<std::size_t>(size - 1));
    }
    bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path) override {
        ++writes;
        if (refuseWrites) {
            return false;  // a read-only file
        }
        values[{path, section, key}] = value;
        return true;
    }

    std::map<Key, std::string> values;
    int writes = 0;
    bool refuseWrites = false;
};

}  // namespace horalia::fakes
