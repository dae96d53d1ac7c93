#include "ViewFileOutput.h"

#include "VoyageErrors.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <limits>
#include <string>

namespace tembrel {

namespace {

// Closes the handle on every path out of Replace.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    HANDLE get() const { return handle_; }
    // Closes now and reports the result; the destructor then does nothing.
    bool Close() {
        const BOOL closed = CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }

private:
    HANDLE handle_;
};

[[noreturn]] void FailWithLastError() {
    throw InOutError(static_cast<int>(GetLastError()));
}

} // namespace

void ViewFileOutput::Replace(const std::filesystem::path& path, std::string_view document) {
    const std::string name = path.string();
    Handle file(CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        FailWithLastError();
    }
    if (document.size() > std::numeric_limits<DWORD>::max()) {
        throw InOutError(ERROR_INVALID_PARAMETER);
    }
    DWORD written = 0;
    if (!WriteFile(file.get(), document.data(), static_cast<DWORD>(document.size()), &written,
                   nullptr)) {
        FailWithLastError();
    }
    if (written != document.size()) {
        throw InOutError(ERROR_DISK_FULL);
    }
    if (!file.Close()) {
        FailWithLastError();
    }
}

} // namespace tembrel
