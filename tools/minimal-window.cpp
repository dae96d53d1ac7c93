// The baseline for tembrel.exe's start-up figure: the least Qt Widgets
// window, built and linked the same way (static, GUI subsystem).
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("A minimal Qt window"));
    label.setWindowTitle(QStringLiteral("Minimal Qt window"));
    label.resize(320, 120);
    label.show();
    return QApplication::exec();
}
