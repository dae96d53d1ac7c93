#include "CacheFolderCommand.h"

#include <QDir>
#include <QFileInfo>

namespace tembrel {

bool OpenFolderInShell(ShellOpener& shell, const QString& path) {
    // A relative path would be resolved against the working folder, and the
    // shell takes "--version" for an option and "http://..." for a web page.
    if (path.isEmpty() || !QDir::isAbsolutePath(path) || !QFileInfo(path).isDir()) {
        return false;
    }
    return shell.Open(FolderShellTarget(QDir::cleanPath(path)).toStdString());
}

} // namespace tembrel
