#include "config/linux/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "common/linux/unique_handles.h"

namespace horalia::linux_backend {

FileContent ReadSmallFile(const std::string& path, std::size_t maxBytes) {
    FileContent content;
    // O_NONBLOCK: a FIFO in the file's place must not wait for a writer.
    const UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd) {
        content.status = errno == ENOENT ? ReadStatus::kMissing : ReadStatus::kUnusable;
        return content;
    }
    struct stat st {};
    if (fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::size_t>(st.st_size) > maxBytes) {
        content.status = ReadStatus::kUnusable;
        return content;
    }
    content.status = ReadStatus::kOk;
    char chunk[8192];
    for (;;) {
        const ssize_t n = read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            content.status = ReadStatus::kUnusable;
            break;
        }
        if (n == 0) {
            break;
        }
        content.bytes.append(chunk, static_cast<std::size_t>(n));
        if (content.bytes.size() > maxBytes) {
            content.status = ReadStatus::kUnusable;
            break;
        }
    }
    if (content.status != ReadStatus::kOk) {
        content.bytes.clear();
    }
    return content;
}

namespace {

// Where the bytes of path live: a symbolic link (a settings file kept elsewhere) is followed, so
// that the link stays and its target is updated.
std::string RealTarget(const std::string& path) {
    const UniqueMalloc<char> real(realpath(path.c_str(), nullptr));
    return real != nullptr ? std::string(real.get()) : path;
}

// Makes the rename itself durable; a folder that cannot be synced changes nothing.
void SyncFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const UniqueFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) {
        fsync(fd.get());
    }
}

}  // namespace

bool ReplaceFile(const std::string& linkOrPath, const std::string& bytes) {
    const std::string path = RealTarget(linkOrPath);
    mode_t mode = 0644;
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        // The rename needs only the folder's permission: ask the file's own as well, so that a
        // file this user may not write is never replaced behind its owner's back.
        if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0) {
            return false;
        }
        mode = st.st_mode & 07777;
    }
    std::string temp = path + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    UniqueFd fd(mkstemp(name.data()));
    if (!fd) {
        return false;
    }
    bool ok = fchmod(fd.get(), mode) == 0;
    std::size_t written = 0;
    while (ok && written < bytes.size()) {
        const ssize_t n = write(fd.get(), bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ok = false;
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    ok = ok && fsync(fd.get()) == 0;
    ok = fd.Close() && ok;
    ok = ok && rename(name.data(), path.c_str()) == 0;
    if (!ok) {
        unlink(name.data());
        return false;
    }
    SyncFolderOf(path);
    return true;
}

SmallFiles& LinuxFiles() {
    struct Files final : SmallFiles {
        FileContent Read(const std::string& path, std::size_t maxBytes) override {
            return ReadSmallFile(path, maxBytes);
        }
        bool Replace(const std::string& path, const std::string& bytes) override {
            return ReplaceFile(path, bytes);
        }
    };
    static Files files;
    return files;
}

}  // namespace horalia::linux_backend
