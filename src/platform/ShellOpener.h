#pragma once

#include <QString>

#include <memory>
#include <string>

namespace tembrel {

// Abstract base class for the desktop shell's "open": hands a folder, web
// address or mailto: link to the desktop's default handler without waiting
// for it. Returns whether the request could be handed over; Windows callers
// ignore it, as the shell reports its own failures there.
class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    virtual bool Open(const std::string& target) = 0;
};

// The system's shell: ShellExecuteA on Windows, a detached xdg-open elsewhere.
std::unique_ptr<ShellOpener> CreateSystemShellOpener();

// How the system's shell is handed an existing folder given by its absolute
// path: as a file:// URL for xdg-open, as the native path for ShellExecute.
QString FolderShellTarget(const QString& absoluteFolder);

} // namespace tembrel
