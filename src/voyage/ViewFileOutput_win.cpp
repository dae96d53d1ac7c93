#include "ViewFileOutput.h"

#include "VoyageErrors.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <limits>
#include <string>

namespace tembrel {

namespace {

// Closes the handle on every path out of a write.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    void Reset(HANDLE handle) { handle_ = handle; }
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

void WriteAll(HANDLE file, std::string_view document) {
    DWORD written = 0;
    if (!WriteFile(file, document.data(), static_cast<DWORD>(document.size()), &written, nullptr)) {
        FailWithLastError();
    }
    if (written != document.size()) {
        throw InOutError(ERROR_DISK_FULL);
    }
}

// The write of old: create or truncate the file itself, for when it cannot be
// replaced (a reader holds it without delete sharing).
void WriteInPlace(const std::wstring& path, std::string_view document) {
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        FailWithLastError();
    }
    WriteAll(file.get(), document);
    if (!file.Close()) {
        FailWithLastError();
    }
}

// A fresh file beside the view file that becomes the view file by a move, so
// that a reader sees the old document or the new one. Deleted again on every
// path that does not reach the move.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (file_.get() != INVALID_HANDLE_VALUE) {
            file_.Close();
        }
        if (created_ && !moved_) {
            DeleteFileW(path_.c_str());
        }
    }

    // The system error code of the failure, or 0. CREATE_NEW, so a name
    // someone planted is never opened.
    DWORD Create(const std::filesystem::path& folder, const std::filesystem::path& name) {
        static std::atomic<unsigned> counter{0};
        const unsigned long seed = GetCurrentProcessId() ^ GetTickCount();
        constexpr int Attempts = 100;
        for (int attempt = 0; attempt < Attempts; ++attempt) {
            wchar_t suffix[32];
            std::swprintf(suffix, sizeof suffix / sizeof suffix[0], L".%08lx%04x.tmp",
                          seed & 0xFFFFFFFFUL, counter.fetch_add(1) & 0xFFFFu);
            path_ = (folder / (L"." + name.wstring() + suffix)).wstring();
            HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                file_.Reset(file);
                created_ = true;
                return 0;
            }
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
                return error;
            }
        }
        return ERROR_FILE_EXISTS;
    }

    void Write(std::string_view document) { WriteAll(file_.get(), document); }

    void Close() {
        if (!file_.Close()) {
            FailWithLastError();
        }
    }

    // The system error code of a refused move, or 0.
    DWORD MoveOver(const std::wstring& target) {
        if (!MoveFileExW(path_.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return GetLastError();
        }
        moved_ = true;
        return 0;
    }

private:
    std::wstring path_;
    Handle file_{INVALID_HANDLE_VALUE};
    bool created_ = false;
    bool moved_ = false;
};

} // namespace

void ViewFileOutput::Replace(const std::filesystem::path& path, std::string_view document) {
    if (document.size() > std::numeric_limits<DWORD>::max()) {
        throw InOutError(ERROR_INVALID_PARAMETER);
    }
    const std::wstring target = path.wstring();
    std::filesystem::path folder = path.parent_path();
    const std::filesystem::path name = path.filename();

    // A read-only file or a folder at the name is refused as the in-place
    // write refused it.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        throw InOutError(ERROR_ACCESS_DENIED);
    }

    TemporaryFile file;
    if (const DWORD error = file.Create(folder, name); error != 0) {
        if (error == ERROR_ACCESS_DENIED && exists) {
            WriteInPlace(target, document); // a folder closed to new files
            return;
        }
        throw InOutError(static_cast<int>(error));
    }
    file.Write(document);
    file.Close();
    const DWORD error = file.MoveOver(target);
    if (error == 0) {
        return;
    }
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) {
        WriteInPlace(target, document);
        return;
    }
    throw InOutError(static_cast<int>(error));
}

} // namespace tembrel
