// network-link-reader: stands in for Google Earth's network link. It re-reads
// a view file once per refresh period and prints the view it would fly to, or
// why it could not read the file.

#include "ViewFileParser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

int Usage() {
    std::fputs("usage: network-link-reader [--period SECONDS] [--count N] FILE\n"
               "  Reads FILE every SECONDS (default 1), N times (default: until killed),\n"
               "  and prints one line per refresh: the elapsed seconds, then\n"
               "  'view LONGITUDE LATITUDE RANGE' or 'unreadable REASON'.\n",
               stderr);
    return 2;
}

QString Refresh(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("unreadable %1").arg(file.errorString());
    }
    QString error;
    const std::optional<tembrel::LookAtView> view =
        tembrel::ViewFileParser::Parse(file.readAll(), &error);
    if (!view) {
        return QStringLiteral("unreadable %1").arg(error);
    }
    return QStringLiteral("view %1 %2 %3").arg(view->longitude, view->latitude, view->range);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    double periodSeconds = 1;
    long long count = -1;
    QString path;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        bool ok = true;
        if (arg == QLatin1String("--period") && !args.isEmpty()) {
            periodSeconds = args.takeFirst().toDouble(&ok);
            ok = ok && periodSeconds > 0;
        } else if (arg == QLatin1String("--count") && !args.isEmpty()) {
            count = args.takeFirst().toLongLong(&ok);
            ok = ok && count > 0;
        } else if (!arg.startsWith(QLatin1String("--")) && path.isEmpty()) {
            path = arg;
        } else {
            ok = false;
        }
        if (!ok) {
            return Usage();
        }
    }
    if (path.isEmpty()) {
        return Usage();
    }

    QTextStream out(stdout);
    QElapsedTimer clock;
    clock.start();
    long long done = 0;
    auto refresh = [&] {
        out << QString::number(clock.elapsed() / 1000.0, 'f', 3) << ' ' << Refresh(path)
            << Qt::endl;
        if (count > 0 && ++done >= count) {
            QCoreApplication::quit();
        }
    };
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &app, refresh);
    timer.start(static_cast<int>(periodSeconds * 1000));
    QTimer::singleShot(0, &app, refresh);
    return QCoreApplication::exec();
}
