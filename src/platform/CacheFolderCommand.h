#pragma once

#include "ShellOpener.h"

#include <QString>

#include <memory>

namespace tembrel {

// Abstract base class for the "Open Cache folder" command: finds Google
// Earth's cache folder where the installed Google Earth records it and asks
// the shell to open it. Run() returns false, having handed nothing to the
// shell, when the caller must show "Error while attempting to open the cache
// folder."; it throws nothing.
class CacheFolderCommand {
public:
    virtual ~CacheFolderCommand() = default;
    virtual bool Run() = 0;
};

// The command for this system and user: the registry on Windows, Google
// Earth's settings files in the user's configuration folder elsewhere (see
// ConfFileCacheFolderCommand). `shell` must outlive the command.
std::unique_ptr<CacheFolderCommand> CreateCacheFolderCommand(ShellOpener& shell);

// Hands a folder to the shell, only when `path` is the absolute path of an
// existing folder, and then in a form the shell cannot take for an option or
// a web address (see FolderShellTarget). False, having asked nothing, for
// anything else (empty, relative, a URL, a file), or when the shell refuses.
bool OpenFolderInShell(ShellOpener& shell, const QString& path);

} // namespace tembrel
