// The floor of the start-up benchmark: a minimal Qt Widgets program that
// shows one empty window of the main window's size. Given the argument
// "text", the window holds one label sized to its text, which costs the
// start-up the font database's first use, as any window with text pays.
#include "FirstPaintReport.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tembrel 5.0"));
    window.resize(470, 485);
    if (QApplication::arguments().contains(QStringLiteral("text"))) {
        auto* label = new QLabel(QStringLiteral("Latitude of NW point (Degrees)"), &window);
        label->move(10, 16);
        label->adjustSize();
    }
    new tembrel::bench::FirstPaintReport(window);
    window.show();
    return QApplication::exec();
}
