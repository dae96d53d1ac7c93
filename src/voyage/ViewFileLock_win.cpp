#include "ViewFileLock.h"

#include <windows.h>

namespace tembrel {

namespace {

// The first byte's lock is the folder's lock. The file stays empty: a byte
// past its end locks as well as any, and no reader of it ever meets the lock.
constexpr DWORD LockedBytes = 1;

} // namespace

ViewFileLock::Result ViewFileLock::Acquire(const std::filesystem::path& viewFile) {
    if (Held()) {
        return Result::Held;
    }
    // Opened sharing everything, so that an indexer, a virus scanner or a
    // sync client that has the file open keeps no copy out, and this handle
    // keeps none of them out either: only another copy's byte lock counts.
    // Reading is enough for the lock, so a read-only file serves too.
    const std::wstring path = LockPath(viewFile).wstring();
    HANDLE file = INVALID_HANDLE_VALUE;
    // Twice at most: once more after an empty folder at the name is removed.
    for (int attempt = 0; attempt < 2 && file == INVALID_HANDLE_VALUE; ++attempt) {
        file = CreateFileW(path.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            break;
        }
        // A program that shares nothing has it open: an older copy of ours
        // among them, which kept others out that way.
        if (GetLastError() == ERROR_SHARING_VIOLATION) {
            return Result::HeldElsewhere;
        }
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                       ? Result::Unguarded
                       : Result::Unusable;
        }
        // No copy ever locks a folder, so an empty one is no lock in use.
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || !RemoveDirectoryW(path.c_str())) {
            return Result::Unusable; // a file this user may not open, or a folder with files
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        return Result::Unusable;
    }
    OVERLAPPED at{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, LockedBytes, 0,
                    &at)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        return error == ERROR_LOCK_VIOLATION ? Result::HeldElsewhere : Result::Unguarded;
    }
    handle_ = file;
    return Result::Held;
}

void ViewFileLock::Release() {
    if (Held()) {
        OVERLAPPED at{};
        UnlockFileEx(handle_, 0, LockedBytes, 0, &at);
        CloseHandle(handle_); // would drop the lock as well, in the system's time
        handle_ = Invalid;
    }
}

} // namespace tembrel
