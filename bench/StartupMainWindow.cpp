// The subject of the start-up benchmark: the program's own start (as in
// src/ui/main.cpp, with the real services), up to the main window's first
// paint.
#include "FirstPaintReport.h"

#include "CacheFolderCommand.h"
#include "QtMessageBoxRoutine.h"
#include "SettingsStore.h"
#include "ShellOpener.h"
#include "TF_Main.h"

#include <QApplication>

#include <clocale>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const std::unique_ptr<tembrel::SettingsStore> settings = tembrel::CreateUserSettingsStore();
    const std::unique_ptr<tembrel::ShellOpener> shell = tembrel::CreateSystemShellOpener();
    const std::unique_ptr<tembrel::CacheFolderCommand> cacheFolder =
        tembrel::CreateCacheFolderCommand(*shell);
    tembrel::QtMessageBoxRoutine messageBox;
    tembrel::TF_Main window({.settings = *settings,
                             .shell = *shell,
                             .cacheFolder = *cacheFolder,
                             .messageBox = messageBox,
                             .viewFileDirectory = {}});
    QApplication::setWindowIcon(window.windowIcon());
    new tembrel::bench::FirstPaintReport(window);
    window.show();
    return QApplication::exec();
}
