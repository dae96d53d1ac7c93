#pragma once

// The moment a start-up benchmark's child process counts as started: the
// first paint of its window. The child prints the monotonic clock then, in
// nanoseconds, and its resident memory in kB, and quits.

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace tembrel::bench {

inline long long MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

inline long long ResidentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return -1;
}

class FirstPaintReport final : public QObject {
public:
    explicit FirstPaintReport(QWidget& window) : QObject(&window) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !reported_) {
            reported_ = true;
            const long long shown = MonotonicNanoseconds();
            // Reported once the paint is done, then the process ends.
            QTimer::singleShot(0, this, [shown] {
                std::printf("%lld %lld\n", shown, ResidentKilobytes());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool reported_ = false;
};

} // namespace tembrel::bench
