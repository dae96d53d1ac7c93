#include "CacheFolderCommand.h"
#include "PortSetting.h"
#include "QtMessageBoxRoutine.h"
#include "QuitSignals.h"
#include "RegionalSettingsNotice.h"
#include "SettingsStore.h"
#include "ShellOpener.h"
#include "TF_Main.h"

#include <QApplication>

#include <clocale>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // QApplication adopts the user's locale for the C library; numbers are
    // converted with the regional separator passed explicitly, never through
    // the C library's notion of it.
    std::setlocale(LC_NUMERIC, "C");

    const std::unique_ptr<tembrel::SettingsStore> settings = tembrel::CreateUserSettingsStore();
    const std::unique_ptr<tembrel::ShellOpener> shell = tembrel::CreateSystemShellOpener();
    const std::unique_ptr<tembrel::CacheFolderCommand> cacheFolder =
        tembrel::CreateCacheFolderCommand(*shell);
    const std::unique_ptr<tembrel::PortSetting> viewServerPort = tembrel::CreateUserPortSetting();
    tembrel::QtMessageBoxRoutine messageBox;

    tembrel::TF_Main F_Main({.settings = *settings,
                             .shell = *shell,
                             .cacheFolder = *cacheFolder,
                             .messageBox = messageBox,
                             .viewFileDirectory = {},
                             .viewServerPort = viewServerPort.get()});
    tembrel::ForwardRegionalSettingsChanges(F_Main);
    tembrel::QuitSignals quitSignals;
    QObject::connect(&quitSignals, &tembrel::QuitSignals::quitRequested, &F_Main,
                     [&F_Main] { F_Main.QuitWithoutQuestion(); });
    QApplication::setWindowIcon(F_Main.windowIcon());
    F_Main.show();
    return QApplication::exec();
}
