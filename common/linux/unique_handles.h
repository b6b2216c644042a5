// Owning holders for what C libraries hand out on Linux: a file descriptor, closed with its
// holder, and memory the library allocated with malloc (an xcb reply, a realpath), freed with it.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <utility>

namespace horalia {

struct FreeDeleter {
    void operator()(void* memory) const { std::free(memory); }
};
template <typename T>
using UniqueMalloc = std::unique_ptr<T, FreeDeleter>;

class UniqueFd {
  public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    ~UniqueFd() { Close(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes it now: false when close reports an error (a write that did not reach the disk).
    bool Close() { return fd_ < 0 || ::close(std::exchange(fd_, -1)) == 0; }

  private:
    int fd_;
};

}  // namespace horalia
