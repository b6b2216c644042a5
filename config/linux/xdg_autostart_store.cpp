#include "config/linux/xdg_autostart_store.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "config/linux/atomic_file.h"

namespace horalia::linux_backend {
namespace {

constexpr std::size_t kMaxDesktopFileBytes = 64 * 1024;

}  // namespace

std::string XdgAutostartStore::FilePath() const {
    return configHome_ + "/autostart/" + kStartEntryName + ".desktop";
}

std::optional<std::string> XdgAutostartStore::Read() {
    const FileContent content = ReadSmallFile(FilePath(), kMaxDesktopFileBytes);
    if (content.status != ReadStatus::kOk) {
        return std::nullopt;
    }
    bool inEntry = false;
    std::size_t start = 0;
    const std::string& text = content.bytes;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (inEntry && line.rfind("Exec=", 0) == 0) {
            return line.substr(5);
        }
    }
    return std::nullopt;
}

bool XdgAutostartStore::Write(const std::string& command) {
    std::error_code error;
    std::filesystem::create_directories(configHome_ + "/autostart", error);
    if (error) {
        return false;
    }
    const std::string entry =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Horalia\n"
        "Exec=" +
        command +
        "\n"
        "Icon=horalia\n"
        "X-GNOME-Autostart-enabled=true\n";
    return ReplaceFile(FilePath(), entry);
}

bool XdgAutostartStore::Remove() {
    std::error_code error;
    return std::filesystem::remove(FilePath(), error);
}

std::string ConfigHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        return xdg;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config";
}

}  // namespace horalia::linux_backend

namespace horalia {

StartEntryStore& SystemStartStore() {
    static linux_backend::XdgAutostartStore store(linux_backend::ConfigHome());
    return store;
}

}  // namespace horalia
