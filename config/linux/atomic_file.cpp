#include "config/linux/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace horalia::linux_backend {

FileContent ReadSmallFile(const std::string& path, std::size_t maxBytes) {
    FileContent content;
    // O_NONBLOCK: a FIFO in the file's place must not wait for a writer.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        content.status = errno == ENOENT ? ReadStatus::kMissing : ReadStatus::kUnusable;
        return content;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::size_t>(st.st_size) > maxBytes) {
        close(fd);
        content.status = ReadStatus::kUnusable;
        return content;
    }
    content.status = ReadStatus::kOk;
    char chunk[8192];
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
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
    close(fd);
    if (content.status != ReadStatus::kOk) {
        content.bytes.clear();
    }
    return content;
}

namespace {

// Where the bytes of path live: a symbolic link (a settings file kept elsewhere) is followed, so
// that the link stays and its target is updated.
std::string RealTarget(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    if (real == nullptr) {
        return path;
    }
    std::string target(real);
    free(real);
    return target;
}

// Makes the rename itself durable; a folder that cannot be synced changes nothing.
void SyncFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
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
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        return false;
    }
    bool ok = fchmod(fd, mode) == 0;
    std::size_t written = 0;
    while (ok && written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ok = false;
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    ok = ok && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
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
