#pragma once

#include "CacheFolderCommand.h"
#include "MainWindowServices.h"
#include "PortSetting.h"
#include "QtMessageBoxRoutine.h"
#include "SettingsStore.h"
#include "ShellOpener.h"

#include <memory>

namespace tembrel {

// The real services of this system for the main window: the user's settings,
// the shell, the cache folder command, the view server's port and the message
// boxes on screen. What main() and the start-up benchmark build, so that both
// start alike.
struct SystemServices {
    std::unique_ptr<SettingsStore> settings = CreateUserSettingsStore();
    std::unique_ptr<ShellOpener> shell = CreateSystemShellOpener();
    std::unique_ptr<CacheFolderCommand> cacheFolder = CreateCacheFolderCommand(*shell);
    std::unique_ptr<PortSetting> viewServerPort = CreateUserPortSetting();
    QtMessageBoxRoutine messageBox;

    // The view file in the current directory, the regional decimal separator
    // and the system's file dialogs.
    MainWindowServices ForMainWindow() {
        return {.settings = *settings,
                .shell = *shell,
                .cacheFolder = *cacheFolder,
                .messageBox = messageBox,
                .viewFileDirectory = {},
                .viewServerPort = viewServerPort.get()};
    }
};

} // namespace tembrel
