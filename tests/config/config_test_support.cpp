#include "config_test_support.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "common/utf8_path.h"

namespace horalia::testing {

TempFolder::TempFolder() {
    static std::atomic<int> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("horalia-config-" + std::to_string(stamp) + "-" + std::to_string(serial++));
    if (!std::filesystem::create_directories(path_)) {
        throw std::runtime_error("cannot create " + path_.string());
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::File(const std::string& name) const {
    return PathToUtf8(path_ / Utf8Path(name));
}

bool FileExists(const std::string& utf8Path) {
    std::error_code ignored;
    return std::filesystem::exists(Utf8Path(utf8Path), ignored);
}

std::string ReadBytes(const std::string& utf8Path) {
    std::ifstream in(Utf8Path(utf8Path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& utf8Path, const std::string& bytes) {
    std::ofstream out(Utf8Path(utf8Path), std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + utf8Path);
    }
}

}  // namespace horalia::testing
