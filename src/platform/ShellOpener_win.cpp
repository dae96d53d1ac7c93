#include "ShellOpener.h"

#include "AnsiText.h"

#include <QDir>

#include <windows.h>

#include <shellapi.h>

namespace tembrel {

namespace {

class ShellExecuteOpener final : public ShellOpener {
public:
    bool Open(const std::string& target) override {
        // The shell reports its own failures, so the result is not examined.
        const std::string file = Utf8ToAnsi(target);
        ShellExecuteA(nullptr, "open", file.c_str(), "", "", SW_SHOWNORMAL);
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
