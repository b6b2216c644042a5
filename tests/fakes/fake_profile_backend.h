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
        return WriteStrings(section, {{key, value}}, path);
    }
    Entries GetSection(const std::string& section, const std::string& path) override {
        ++sectionReads;
        Entries entries;
        for (const auto& [where, value] : values) {
            if (std::get<0>(where) == path && std::get<1>(where) == section) {
                entries.emplace_back(std::get<2>(where), value);
            }
        }
        return entries;
    }
    // One write of the file, however many keys; written keys are counted too.
    bool WriteStrings(const std::string& section, const Entries& entries,
                      const std::string& path) override {
        ++fileWrites;
        writes += static_cast<int>(entries.size());
        if (refuseWrites) {
            return false;  // a read-only file
        }
        for (const auto& [key, value] : entries) {
            values[{path, section, key}] = value;
        }
        ++edits;
        return true;
    }
    // Changes with every write and every edit a test makes by hand (Edit).
    std::string Stamp(const std::string& path) override { return std::to_string(edits) + path; }
    void Edit(const std::string& path, const std::string& section, const std::string& key,
              const std::string& value) {
        values[{path, section, key}] = value;
        ++edits;
    }

    std::map<Key, std::string> values;
    int writes = 0;        // keys written
    int fileWrites = 0;    // writings of a file
    int sectionReads = 0;  // readings of a whole section
    int edits = 0;
    bool refuseWrites = false;
};

}  // namespace horalia::fakes
