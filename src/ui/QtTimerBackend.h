#pragma once

#include "TimerModel.h"

class QTimer;

namespace tembrel {

// Runs a TimerModel on a QTimer: its ticks arrive as events of the GUI
// thread, also inside the nested loops of message boxes and modal windows.
// The QTimer is the window's T_Timer; the window connects to its timeout.
class QtTimerBackend final : public TimerBackend {
public:
    explicit QtTimerBackend(QTimer& timer);

    void Arm(std::int32_t intervalMs) override;
    void Disarm() override;

private:
    QTimer& timer_;
};

} // namespace tembrel
