#pragma once

#include "DecimalSeparator.h"

#include <filesystem>
#include <functional>

namespace tembrel {

class CacheFolderCommand;
class FileDialogRoutine;
class MessageBoxRoutine;
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
};

} // namespace tembrel
