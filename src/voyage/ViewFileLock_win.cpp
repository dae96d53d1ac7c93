#include "ViewFileLock.h"

#include <windows.h>

namespace tembrel {

bool ViewFileLock::Acquire(const std::filesystem::path& viewFile) {
    if (Held()) {
        return true;
    }
    // Opened without any sharing: while this handle lives, no other process
    // can open the file, and the system closes it when the process ends.
    const HANDLE file =
        CreateFileW(LockPath(viewFile).wstring().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return GetLastError() != ERROR_SHARING_VIOLATION;
    }
    handle_ = file;
    return true;
}

void ViewFileLock::Release() {
    if (Held()) {
        CloseHandle(handle_);
        handle_ = Invalid;
    }
}

} // namespace tembrel
