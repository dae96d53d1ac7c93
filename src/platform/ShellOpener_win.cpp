#include "ShellOpener.h"

#include <QDir>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace tembrel {

namespace {

// The target as UTF-16; empty when it is not valid UTF-8.
std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                           static_cast<int>(utf8.size()), nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                        wide.data(), length);
    return wide;
}

class ShellExecuteOpener final : public ShellOpener {
public:
    bool Open(const std::string& target) override {
        // The wide form: a folder name outside the ANSI code page would reach
        // the shell as question marks through the "A" form.
        const std::wstring file = Wide(target);
        if (file.empty()) {
            return false;
        }
        // The shell reports its own failures, so the result is not examined.
        ShellExecuteW(nullptr, L"open", file.c_str(), L"", L"", SW_SHOWNORMAL);
        return true;
    }
};

} // namespace

QString FolderShellTarget(const QString& absoluteFolder) {
    // ShellExecute never reads an absolute native path (a drive letter or a
    // UNC name first) as an option or a web address.
    return QDir::toNativeSeparators(absoluteFolder);
}

std::unique_ptr<ShellOpener> CreateSystemShellOpener() {
    return std::make_unique<ShellExecuteOpener>();
}

} // namespace tembrel
