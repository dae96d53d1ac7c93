#pragma once

#include <cerrno>
#include <unistd.h>

namespace tembrel {

// Owns one open file descriptor and closes it on every path out.
class PosixDescriptor {
public:
    explicit PosixDescriptor(int fd = -1) : fd_(fd) {}
    PosixDescriptor(const PosixDescriptor&) = delete;
    PosixDescriptor& operator=(const PosixDescriptor&) = delete;
    ~PosixDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    void reset(int fd) { fd_ = fd; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    // Closes it now: the error of close(), or 0 (an interrupted close has
    // still released the descriptor).
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result != 0 && errno != EINTR ? errno : 0;
    }

private:
    int fd_;
};

} // namespace tembrel
