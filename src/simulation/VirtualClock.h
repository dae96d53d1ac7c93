#pragma once

#include "TimerModel.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace tembrel {

// Virtual time in milliseconds for the tests and tembrel-sim. As a timer
// backend it delivers periodic ticks; it also runs actions scheduled at given
// times. Nothing happens until RunUntil is called, and then everything due
// happens in time order, ticks before actions due at the same moment.
// RunUntil may be called again from inside a tick or an action (a modal box
// that stays open while time passes); the outer run then goes on after it.
class VirtualClock final : public TimerBackend {
public:
    using Milliseconds = std::int64_t;

    Milliseconds Now() const { return now_; }

    // Ticks every intervalMs from now on (the first one a full interval
    // away), replacing any earlier arming. An interval below 1 disarms.
    void Arm(std::int32_t intervalMs) override;
    void Disarm() override;
    std::optional<Milliseconds> NextTick() const { return nextTick_; }

    void SetTickHandler(std::function<void()> handler) { tickHandler_ = std::move(handler); }

    // Runs action at the given time (at once, on the next run, if that time
    // has passed). Actions due at the same time run in the order scheduled.
    void ScheduleAt(Milliseconds at, std::function<void()> action);

    // Whether a tick or an action is still to come, and when the first is due.
    bool Pending() const { return nextTick_.has_value() || !actions_.empty(); }
    std::optional<Milliseconds> NextDue() const;

    // Runs everything due up to and including until, then sets the time to
    // until (unless a nested run has already gone further).
    void RunUntil(Milliseconds until);

private:
    Milliseconds now_ = 0;
    std::optional<Milliseconds> nextTick_;
    Milliseconds interval_ = 0;
    std::function<void()> tickHandler_;
    // Keyed by (time, order of scheduling).
    std::map<std::pair<Milliseconds, std::uint64_t>, std::function<void()>> actions_;
    std::uint64_t scheduled_ = 0;
};

} // namespace tembrel
