#include "QuitSignals.h"
#include "RegionalSettingsNotice.h"
#include "SystemServices.h"
#include "TF_Main.h"

#include <QApplication>

#include <clocale>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // QApplication adopts the user's locale for the C library; numbers are
    // converted with the regional separator passed explicitly, never through
    // the C library's notion of it.
    std::setlocale(LC_NUMERIC, "C");

    tembrel::SystemServices services;
    tembrel::TF_Main F_Main(services.ForMainWindow());
    tembrel::ForwardRegionalSettingsChanges(F_Main);
    tembrel::QuitSignals quitSignals;
    QObject::connect(&quitSignals, &tembrel::QuitSignals::quitRequested, &F_Main,
                     [&F_Main] { F_Main.QuitWithoutQuestion(); });
    QApplication::setWindowIcon(F_Main.windowIcon());
    F_Main.show();
    return QApplication::exec();
}
