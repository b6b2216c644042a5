#include "config/linux/xdg_autostart_store.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "config/linux/atomic_file.h"

namespace horalia::linux_backend {
namespace {

constexpr std::size_t kMaxDesktopFileBytes = 64 * 1024;

// Exec is read by the desktop's launcher, which gives '%', '$', '`' and the backslash meanings of
// their own and ends the entry at a line break. A command holding any of them (or a quote other
// than the two around it) is not written at all rather than written to mean something else.
bool FitsExecLiterally(const std::string& command) {
    if (command.size() < 2 || command.front() != '"' || command.back() != '"') {
        return false;
    }
    const std::string_view inside = std::string_view(command).substr(1, command.size() - 2);
    for (const char c : inside) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F ||
            std::string_view("%$`\\\"").find(c) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string XdgAutostartStore::FilePath() const {
    return configHome_ + "/autostart/" + kStartEntryName + ".desktop";
}

std::optional<std::string> XdgAutostartStore::Read() {
    if (configHome_.empty()) {
        return std::nullopt;
    }
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
    if (configHome_.empty() || !FitsExecLiterally(command)) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(configHome_ + "/autostart", error);
    if (error) {
        return false;
    }
    // TryExec: the program's own path, so that a desktop skips the entry once the program is
    // gone (a removed package does not clean the homes it ran in).
    const std::string program = command.substr(1, command.size() - 2);
    const std::string entry =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Horalia\n"
        "TryExec=" +
        program +
        "\n"
        "Exec=" +
        command +
        "\n"
        "Icon=horalia\n"
        "X-GNOME-Autostart-enabled=true\n";
    return ReplaceFile(FilePath(), entry);
}

bool XdgAutostartStore::Remove() {
    if (configHome_.empty()) {
        return false;
    }
    std::error_code error;
    return std::filesystem::remove(FilePath(), error);
}

std::string ConfigHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        return xdg;
    }
    // Without a home folder there is no per-user store: empty, and nothing is written.
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        return {};
    }
    return std::string(home) + "/.config";
}

}  // namespace horalia::linux_backend

namespace horalia {

StartEntryStore& SystemStartStore() {
    static linux_backend::XdgAutostartStore store(linux_backend::ConfigHome());
    return store;
}

// Each person's file is in their own home: this user's.
bool RemoveEveryStartEntry() {
    SystemStartStore().Remove();
    return !SystemStartStore().Read().has_value();
}

}  // namespace horalia
