#include "ViewFileLock.h"

#include "PosixDescriptor.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tembrel {

namespace {

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd = -1;
    do {
        fd = ::open(path, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Read-only is enough for flock, so a lock file without write permission
// still serves; one without read permission is tried for writing. Never
// through a link, never blocking on a pipe.
int OpenLockFile(const char* path) {
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    const int fd = OpenRetrying(path, O_RDONLY | O_CREAT | flags, 0666);
    return fd < 0 && errno == EACCES ? OpenRetrying(path, O_WRONLY | flags) : fd;
}

// 0, or the errno of the failed flock.
int LockNow(int fd) {
    int locked = -1;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    return locked == 0 ? 0 : errno;
}

using Descriptor = PosixDescriptor;

// A link, a pipe, a socket, a device or a folder at the lock's name. No copy
// ever locks one of those (the lock file is opened without following links,
// and anything but a regular file is refused), so none is a lock in use and
// it may go. The folder's own lock, held only for this, keeps two copies
// from doing it at once: else one could remove the lock file the other has
// just made in its place. A folder goes only when empty. True when the name
// is free or holds a regular file now.
bool RemoveOddEntry(const std::filesystem::path& lock) {
    const std::filesystem::path parent = lock.has_parent_path() ? lock.parent_path() : ".";
    const Descriptor folder(OpenRetrying(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) {
        return false;
    }
    // Another copy holds it for microseconds; a program of its own for longer.
    int error = LockNow(folder.get());
    for (int wait = 0; error == EWOULDBLOCK && wait < 50; ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        error = LockNow(folder.get());
    }
    if (error != 0) {
        return false;
    }
    struct stat entry {};
    if (::lstat(lock.c_str(), &entry) != 0) {
        return errno == ENOENT;
    }
    if (S_ISREG(entry.st_mode)) {
        return true; // another copy made it meanwhile
    }
    const int removed = S_ISDIR(entry.st_mode) ? ::rmdir(lock.c_str()) : ::unlink(lock.c_str());
    return removed == 0 || errno == ENOENT;
} // the folder's lock goes with its descriptor

} // namespace

ViewFileLock::Result ViewFileLock::Acquire(const std::filesystem::path& viewFile) {
    if (Held()) {
        return Result::Held;
    }
    const std::filesystem::path lock = LockPath(viewFile);
    // Twice at most: once more when the name changed between the look and
    // the open.
    for (int attempt = 0; attempt < 2; ++attempt) {
        struct stat entry {};
        const bool exists = ::lstat(lock.c_str(), &entry) == 0;
        if (exists && !S_ISREG(entry.st_mode)) {
            if (!RemoveOddEntry(lock)) {
                return Result::Unusable;
            }
        }
        // The file is left in place afterwards, as removing it would race
        // with the next holder.
        Descriptor file(OpenLockFile(lock.c_str()));
        if (file.get() < 0) {
            const int error = errno;
            if (::lstat(lock.c_str(), &entry) != 0) {
                return errno == ENOENT ? Result::Unguarded : Result::Unusable;
            }
            if (error == ELOOP || error == EISDIR || error == ENXIO || !S_ISREG(entry.st_mode)) {
                continue; // replaced meanwhile
            }
            return Result::Unusable;
        }
        struct stat opened {};
        if (::fstat(file.get(), &opened) != 0) {
            return Result::Unusable;
        }
        if (!S_ISREG(opened.st_mode)) {
            continue;
        }
        const int error = LockNow(file.get());
        if (error == EWOULDBLOCK) {
            return Result::HeldElsewhere;
        }
        if (error != 0) {
            return Result::Unguarded; // a file system without locks
        }
        handle_ = file.release();
        return Result::Held;
    }
    return Result::Unusable;
}

void ViewFileLock::Release() {
    if (Held()) {
        ::close(handle_); // drops the lock
        handle_ = Invalid;
    }
}

} // namespace tembrel
