#pragma once

#include "TimerModel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tembrel::test {

// Notes what the timer asks of its clock ("arm 1000", "disarm") in calls,
// and passes it on to next when there is one.
class RecordingTimerBackend final : public TimerBackend {
public:
    explicit RecordingTimerBackend(std::vector<std::string>& calls, TimerBackend* next = nullptr)
        : calls_(calls), next_(next) {}

    void Arm(std::int32_t intervalMs) override {
        calls_.push_back("arm " + std::to_string(intervalMs));
        if (next_ != nullptr) {
            next_->Arm(intervalMs);
        }
    }
    void Disarm() override {
        calls_.push_back("disarm");
        if (next_ != nullptr) {
            next_->Disarm();
        }
    }

private:
    std::vector<std::string>& calls_;
    TimerBackend* next_;
};

} // namespace tembrel::test
