#pragma once

#include <cstdint>

namespace tembrel {

// Abstract base class for the clock behind a TimerModel: arms periodic
// ticks every intervalMs milliseconds from now, or stops them.
class TimerBackend {
public:
    virtual ~TimerBackend() = default;
    virtual void Arm(std::int32_t intervalMs) = 0;
    virtual void Disarm() = 0;
};

// The voyage timer's rules, written once for every window: enabling starts a
// full period; setting an unchanged interval or flag does nothing; changing
// the interval of an enabled timer restarts the period; an interval of 0 (or
// below) gives no ticks at all.
class TimerModel {
public:
    explicit TimerModel(TimerBackend& backend) : backend_(backend) {}

    bool Enabled() const { return enabled_; }
    std::int32_t Interval() const { return interval_; }
    void SetEnabled(bool enabled);
    void SetInterval(std::int32_t intervalMs);

private:
    void Rearm();

    TimerBackend& backend_;
    bool enabled_ = false;
    std::int32_t interval_ = 1000;
};

} // namespace tembrel
