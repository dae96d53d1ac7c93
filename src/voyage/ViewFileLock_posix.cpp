#include "ViewFileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tembrel {

bool ViewFileLock::Acquire(const std::filesystem::path& viewFile) {
    if (Held()) {
        return true;
    }
    // Never through a link, never blocking on a pipe; the file is left in
    // place afterwards, as removing it would race with the next holder.
    int fd = -1;
    do {
        fd = ::open(LockPath(viewFile).c_str(),
                    O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return true;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return true;
    }
    int locked = -1;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        return !heldElsewhere;
    }
    handle_ = fd;
    return true;
}

void ViewFileLock::Release() {
    if (Held()) {
        ::close(handle_); // drops the lock
        handle_ = Invalid;
    }
}

} // namespace tembrel
