#include "ViewFileOutput.h"

#include "VoyageErrors.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tembrel {

namespace {

// Windows system error codes used below.
constexpr int ErrorAccessDenied = 5;
constexpr int ErrorPathNotFound = 3;
constexpr int ErrorTooManyOpenFiles = 4;
constexpr int ErrorNotEnoughMemory = 8;
constexpr int ErrorInvalidHandle = 6;
constexpr int ErrorGenFailure = 31;
constexpr int ErrorSharingViolation = 32;
constexpr int ErrorNotSupported = 50;
constexpr int ErrorFileExists = 80;
constexpr int ErrorInvalidParameter = 87;
constexpr int ErrorBrokenPipe = 109;
constexpr int ErrorDiskFull = 112;
constexpr int ErrorBusy = 170;
constexpr int ErrorFilenameExceedsRange = 206;
constexpr int ErrorFileTooLarge = 223;
constexpr int ErrorIoDevice = 1117;
constexpr int ErrorCantResolveFilename = 1921;

struct ErrnoCode {
    int errnoValue;
    int code;
};

// The one table from errno to the Windows code of the same condition.
constexpr ErrnoCode ErrnoCodes[] = {
    {EACCES, ErrorAccessDenied},
    {EPERM, ErrorAccessDenied},
    {EROFS, ErrorAccessDenied},
    {EISDIR, ErrorAccessDenied},
    {ETXTBSY, ErrorAccessDenied},
    {ENOENT, ErrorPathNotFound},
    {ENOTDIR, ErrorPathNotFound},
    {EMFILE, ErrorTooManyOpenFiles},
    {ENFILE, ErrorTooManyOpenFiles},
    {ENOSPC, ErrorDiskFull},
    {EDQUOT, ErrorDiskFull},
    {ENAMETOOLONG, ErrorFilenameExceedsRange},
    {EIO, ErrorIoDevice},
    {ENOMEM, ErrorNotEnoughMemory},
    {EBADF, ErrorInvalidHandle},
    {EAGAIN, ErrorSharingViolation},
    {EEXIST, ErrorFileExists},
    {EINVAL, ErrorInvalidParameter},
    {EPIPE, ErrorBrokenPipe},
    {EBUSY, ErrorBusy},
    {EFBIG, ErrorFileTooLarge},
    {ELOOP, ErrorCantResolveFilename},
    {EOPNOTSUPP, ErrorNotSupported},
};

// Closes the descriptor on every path out of Replace.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    // Closes now and reports the result; the destructor then does nothing.
    int Close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

[[noreturn]] void Fail(int errnoValue) {
    throw InOutError(ViewFileOutput::SystemErrorCode(errnoValue));
}

} // namespace

int ViewFileOutput::SystemErrorCode(int errnoValue) {
    for (const ErrnoCode& entry : ErrnoCodes) {
        if (entry.errnoValue == errnoValue) {
            return entry.code;
        }
    }
    return ErrorGenFailure;
}

void ViewFileOutput::Replace(const std::filesystem::path& path, std::string_view document) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        Fail(errno);
    }
    Descriptor file(fd);

    // One write normally takes the whole document; a short write (the disk
    // filling up, say) is continued so that the failure is the one reported.
    const char* data = document.data();
    std::size_t left = document.size();
    while (left > 0) {
        const ssize_t written = ::write(file.get(), data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail(errno);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (file.Close() != 0 && errno != EINTR) {
        Fail(errno);
    }
}

} // namespace tembrel
