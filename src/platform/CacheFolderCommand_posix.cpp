#include "CacheFolderCommand.h"
#include "ConfFileCacheFolderCommand.h"
#include "UserDirectories.h"

namespace tembrel {

std::unique_ptr<CacheFolderCommand> CreateCacheFolderCommand(ShellOpener& shell) {
    return std::make_unique<ConfFileCacheFolderCommand>(shell, UserConfigDirectory(),
                                                        UserHomeDirectory());
}

} // namespace tembrel
