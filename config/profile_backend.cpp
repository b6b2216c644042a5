#include "config/profile_backend.h"

#include <filesystem>
#include <system_error>

#include "common/utf8_path.h"

namespace horalia {

std::string ProfileBackend::Stamp(const std::string& path) {
    std::error_code error;
    const auto file = Utf8Path(path);
    const auto time = std::filesystem::last_write_time(file, error);
    if (error) {
        return {};
    }
    const auto size = std::filesystem::file_size(file, error);
    return std::to_string(time.time_since_epoch().count()) + "/" + std::to_string(error ? 0 : size);
}

}  // namespace horalia
