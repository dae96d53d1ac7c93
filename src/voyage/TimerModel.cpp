#include "TimerModel.h"

namespace tembrel {

void TimerModel::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    Rearm();
}

void TimerModel::SetInterval(std::int32_t intervalMs) {
    if (intervalMs == interval_) {
        return;
    }
    interval_ = intervalMs;
    if (enabled_) {
        Rearm();
    }
}

void TimerModel::Rearm() {
    if (enabled_ && interval_ > 0) {
        backend_.Arm(interval_);
    } else {
        backend_.Disarm();
    }
}

} // namespace tembrel
