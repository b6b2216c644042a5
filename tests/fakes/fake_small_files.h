// Files in memory: what a path holds, and what was read.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "config/small_files.h"

namespace horalia::fakes {

class FakeSmallFiles final : public SmallFiles {
  public:
    FileContent Read(const std::string& path, std::size_t maxBytes) override {
        reads.push_back(path);
        const auto found = files.find(path);
        if (found == files.end()) {
            return {};
        }
        if (found->second.size() > maxBytes) {
            return {ReadStatus::kUnusable, {}};
        }
        return {ReadStatus::kOk, found->second};
    }
    bool Replace(const std::string& path, const std::string& bytes) override {
        files[path] = bytes;
        return true;
    }

    std::map<std::string, std::string> files;
    std::vector<std::string> reads;
};

}  // namespace horalia::fakes
