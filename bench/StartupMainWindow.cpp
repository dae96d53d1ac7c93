// The subject of the start-up benchmark: the program's own start (as in
// src/ui/main.cpp, with the real services), up to the main window's first
// paint.
#include "FirstPaintReport.h"

#include "SystemServices.h"
#include "TF_Main.h"

#include <QApplication>

#include <clocale>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    tembrel::SystemServices services;
    tembrel::TF_Main window(services.ForMainWindow());
    QApplication::setWindowIcon(window.windowIcon());
    new tembrel::bench::FirstPaintReport(window);
    window.show();
    return QApplication::exec();
}
