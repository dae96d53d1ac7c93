#include "QtTimerBackend.h"

#include <QTimer>

namespace tembrel {

QtTimerBackend::QtTimerBackend(QTimer& timer) : timer_(timer) {
    timer_.setSingleShot(false);
    // Google Earth refreshes on its own exact period; a coarse timer could
    // drift from it by 5% per tick.
    timer_.setTimerType(Qt::PreciseTimer);
}

void QtTimerBackend::Arm(std::int32_t intervalMs) {
    // QTimer would tick continuously at 0 ms; the voyage timer gives no ticks.
    if (intervalMs <= 0) {
        timer_.stop();
        return;
    }
    timer_.start(intervalMs); // a full period from now, also when running
}

void QtTimerBackend::Disarm() {
    timer_.stop();
}

} // namespace tembrel
