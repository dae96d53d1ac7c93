#include "VirtualClock.h"

#include <algorithm>

namespace tembrel {

void VirtualClock::Arm(std::int32_t intervalMs) {
    if (intervalMs < 1) {
        Disarm();
        return;
    }
    interval_ = intervalMs;
    nextTick_ = now_ + intervalMs;
}

void VirtualClock::Disarm() {
    nextTick_.reset();
}

void VirtualClock::ScheduleAt(Milliseconds at, std::function<void()> action) {
    actions_.emplace(std::make_pair(std::max(at, now_), scheduled_++), std::move(action));
}

std::optional<VirtualClock::Milliseconds> VirtualClock::NextDue() const {
    if (actions_.empty()) {
        return nextTick_;
    }
    const Milliseconds action = actions_.begin()->first.first;
    return nextTick_ ? std::min(*nextTick_, action) : action;
}

void VirtualClock::RunUntil(Milliseconds until) {
    for (;;) {
        const bool tickDue = nextTick_ && *nextTick_ <= until;
        const bool actionDue = !actions_.empty() && actions_.begin()->first.first <= until;
        if (!tickDue && !actionDue) {
            break;
        }
        if (tickDue && (!actionDue || *nextTick_ <= actions_.begin()->first.first)) {
            now_ = std::max(now_, *nextTick_);
            // The next tick is due before the handler runs, so that a handler
            // that re-arms or disarms the timer has the last word.
            nextTick_ = now_ + interval_;
            if (tickHandler_) {
                tickHandler_();
            }
        } else {
            auto first = actions_.begin();
            now_ = std::max(now_, first->first.first);
            auto action = std::move(first->second);
            actions_.erase(first);
            action();
        }
    }
    now_ = std::max(now_, until);
}

} // namespace tembrel
