#include "config/ini_file.h"

#include "common/trim.h"
#include "config/ini_document.h"
#include "config/profile_backend.h"

namespace horalia {
namespace {

constexpr char kNoFile[] = "没有指定文件 ";
constexpr char kWriteFailed[] = "写入失败 ";
constexpr char kCannotRead[] = "不能读取 ";

}  // namespace

读写配置::读写配置(ProfileBackend& backend) : backend_(&backend) {}

void 读写配置::SpecifyIni(const std::string& path) {
    IniPath = std::string(Trimmed(path, " "));  // spaces only: a tab is part of the name
}

bool 读写配置::FileNotSpecified() {
    if (IniPath.empty()) {
        ErrorText = kNoFile;
        return true;
    }
    ErrorText.clear();
    return false;
}

bool 读写配置::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    if (FileNotSpecified()) {
        return false;
    }
    // Texts that would not read back as written fail like a refused write; a line break would
    // even add lines of its own to the file.
    return WriteStrings(section, {{key, value}});
}

bool 读写配置::WriteStrings(const std::string& section,
                            const std::vector<std::pair<std::string, std::string>>& values) {
    if (FileNotSpecified()) {
        return false;
    }
    bool writable = true;
    for (const auto& [key, value] : values) {
        writable = writable && ini::CanWrite(section, key, value);
    }
    // A change someone else made before this write is still to be read: the stamp stays.
    const bool changedBefore = FileChanged();
    const bool written = writable && backend_->WriteStrings(section, values, IniPath);
    if (!changedBefore) {
        RememberStamp();
    }
    if (!written) {
        ErrorText = kWriteFailed;
    }
    return written;
}

std::vector<std::pair<std::string, std::string>> 读写配置::ReadSection(const std::string& section) {
    if (FileNotSpecified()) {
        return {};
    }
    RememberStamp();  // before the reading: a change made during it is seen next time
    return backend_->GetSection(section, IniPath);
}

bool 读写配置::FileChanged() {
    return !IniPath.empty() && backend_->Stamp(IniPath) != stamp_;
}

void 读写配置::RememberStamp() {
    stamp_ = backend_->Stamp(IniPath);
}

std::string 读写配置::ReadString(const std::string& section, const std::string& key,
                                 std::int32_t size) {
    if (FileNotSpecified()) {
        return {};
    }
    return backend_->GetString(section, key, size, IniPath);
}

std::int32_t 读写配置::ReadInt(const std::string& section, const std::string& key) {
    // An absent key is told from a key holding 0 by asking again with another default.
    const std::int32_t v = backend_->GetInt(section, key, 0, IniPath);
    if (v != 0) {
        return v;
    }
    const std::int32_t w = backend_->GetInt(section, key, 1, IniPath);
    if (w == 1) {
        ErrorText = kCannotRead;
        return 0;
    }
    return w;
}

}  // namespace horalia
