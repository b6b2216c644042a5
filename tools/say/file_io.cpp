#include "tools/say/file_io.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "common/utf8_path.h"

namespace horalia::say {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    std::ifstream in(Utf8Path(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

WriteOutcome WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path target = Utf8Path(path);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out) {
        return WriteOutcome::kCannotOpen;
    }
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::error_code ignored;
        std::filesystem::remove(target, ignored);
        return WriteOutcome::kFailed;
    }
    return WriteOutcome::kWritten;
}

}  // namespace horalia::say
