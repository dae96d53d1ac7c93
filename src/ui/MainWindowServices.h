#pragma once

#include "DecimalSeparator.h"
#include "FollowingMonitor.h"

#include <filesystem>
#include <functional>

namespace tembrel {

class CacheFolderCommand;
class FileDialogRoutine;
class MessageBoxRoutine;
class PortSetting;
class SettingsStore;
class ShellOpener;

// What the main window uses of the world outside it. main() passes the real
// ones; the tests pass fakes, a scripted message box routine, a temporary
// folder for the view file and a decimal separator of their choice.
struct MainWindowServices {
    SettingsStore& settings;
    ShellOpener& shell;
    CacheFolderCommand& cacheFolder;
    MessageBoxRoutine& messageBox;
    // Where TembrelData.KML goes; empty means the current directory.
    std::filesystem::path viewFileDirectory;
    // The regional decimal separator, asked at start-up and again whenever
    // the system announces a change of regional settings.
    std::function<char()> decimalSeparator = RegionalDecimalSeparator;
    // The Tools menu's file dialogs; none given means the system's own.
    FileDialogRoutine* fileDialog = nullptr;
    // Where the view server's port is kept; none means a port is proposed
    // afresh at each start.
    PortSetting* viewServerPort = nullptr;
    // The following monitor's clock; none means the system's steady clock.
    FollowingMonitor::Clock liveClock = {};
};

} // namespace tembrel
