#pragma once

#include "ShellOpener.h"

#include <memory>

namespace tembrel {

// Abstract base class for the "Open Cache folder" command: finds Google
// Earth's cache folder where the installed Google Earth records it and asks
// the shell to open it. Run() returns false when the caller must show
// "Error while attempting to open the cache folder.".
class CacheFolderCommand {
public:
    virtual ~CacheFolderCommand() = default;
    virtual bool Run() = 0;
};

std::unique_ptr<CacheFolderCommand> CreateCacheFolderCommand(ShellOpener& shell);

} // namespace tembrel
