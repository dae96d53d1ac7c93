#include "ViewFileOutput.h"

#include "PosixDescriptor.h"
#include "VoyageErrors.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
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

[[noreturn]] void Fail(int errnoValue) {
    throw InOutError(ViewFileOutput::SystemErrorCode(errnoValue));
}

// One write normally takes the whole document; a short write (the disk
// filling up, say) is continued so that the failure is the one reported.
void WriteAll(int fd, std::string_view document) {
    const char* data = document.data();
    std::size_t left = document.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail(errno);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
}

int OpenFile(const char* path, int flags) {
    int fd = -1;
    do {
        fd = ::open(path, flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

using Descriptor = PosixDescriptor;

// Closes a write's file, failing as its last write would.
void CloseFile(Descriptor& file) {
    if (const int error = file.Close(); error != 0) {
        Fail(error);
    }
}

// A fresh file beside the view file that becomes the view file by a rename,
// so that a reader sees the old document or the new one, never a part. It is
// removed again on every path that does not reach the rename.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (created_ && !renamed_) {
            ::unlink(path_.c_str());
        }
    }

    // Creates it under a new name beside name in folder; the errno of the
    // failure, or 0. Created exclusively, so a name someone planted is never
    // opened.
    int Create(const std::filesystem::path& folder, const std::filesystem::path& name) {
        static std::atomic<unsigned> counter{0};
        const unsigned long seed = static_cast<unsigned long>(::getpid()) * 2654435761UL ^
                                   static_cast<unsigned long>(::time(nullptr));
        // A clash with another file just takes the next name.
        constexpr int Attempts = 100;
        for (int attempt = 0; attempt < Attempts; ++attempt) {
            char suffix[32];
            std::snprintf(suffix, sizeof suffix, ".%08lx%04x.tmp", seed & 0xFFFFFFFFUL,
                          counter.fetch_add(1) & 0xFFFFu);
            path_ = folder / ("." + name.string() + suffix);
            const int fd = OpenFile(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL);
            if (fd >= 0) {
                file_.reset(fd);
                created_ = true;
                return 0;
            }
            if (errno != EEXIST) {
                return errno;
            }
        }
        return EEXIST;
    }

    void KeepMode(mode_t mode) {
        if (::fchmod(file_.get(), mode) != 0) {
            Fail(errno);
        }
    }
    void Write(std::string_view document) { WriteAll(file_.get(), document); }
    void Close() { CloseFile(file_); }

    void RenameOver(const std::filesystem::path& target) {
        if (::rename(path_.c_str(), target.c_str()) != 0) {
            Fail(errno);
        }
        renamed_ = true;
    }

private:
    std::filesystem::path path_;
    Descriptor file_;
    bool created_ = false;
    bool renamed_ = false;
};

// The write of old, into the existing regular file, for a folder where no new
// file may be made: readers may then see a part, but the view goes on.
void WriteInPlace(const std::filesystem::path& path, std::string_view document) {
    Descriptor file(OpenFile(path.c_str(), O_WRONLY | O_TRUNC));
    if (file.get() < 0) {
        Fail(errno);
    }
    struct stat opened {};
    if (::fstat(file.get(), &opened) != 0) {
        Fail(errno);
    }
    if (!S_ISREG(opened.st_mode)) {
        Fail(EACCES);
    }
    WriteAll(file.get(), document);
    CloseFile(file);
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
    const std::filesystem::path name = path.filename();
    const std::filesystem::path folder = path.parent_path();
    if (name.empty()) {
        Fail(EISDIR);
    }

    // What stands at the name now. A file the user made read-only stays
    // refused, as when it was written in place; a link, a pipe or a device is
    // replaced by the rename below, never followed or opened.
    struct stat current {};
    bool regularFile = false;
    if (::lstat(path.c_str(), &current) == 0) {
        regularFile = S_ISREG(current.st_mode);
        if (S_ISDIR(current.st_mode)) {
            Fail(EISDIR);
        }
        if (regularFile && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
            Fail(errno);
        }
    } else if (errno != ENOENT) {
        Fail(errno);
    }

    TemporaryFile file;
    if (const int error = file.Create(folder, name); error != 0) {
        if ((error == EACCES || error == EPERM) && regularFile) {
            WriteInPlace(path, document);
            return;
        }
        Fail(error);
    }
    // The file the user had keeps its mode, as when it was written in place.
    if (regularFile) {
        file.KeepMode(current.st_mode & 0777);
    }
    file.Write(document);
    file.Close();
    file.RenameOver(path);
}

} // namespace tembrel
