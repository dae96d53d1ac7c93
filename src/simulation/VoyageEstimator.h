#pragma once

#include "TimerModel.h"
#include "VoyageEstimate.h"
#include "VoyageInputs.h"
#include "VoyageState.h"

#include <cstdint>
#include <vector>

namespace tembrel {

// Works out a voyage's views and length by running it: the real controller
// on a copy of the inputs, a view that shows nothing, a view file writer that
// records instead of writing and a virtual clock, tick by tick until the
// voyage ends, fails, shows it never will, or runs past the tick budget.
// Nothing of the window, the timer or the voyage in progress changes.
class VoyageEstimator {
public:
    // Most ticks one estimate may run; beyond it the voyage is TooLong.
    static constexpr std::int64_t DefaultTickBudget = 2000000;

    // One write of the view file as the run made it: the grid row or memo
    // line (ItemIdx) and the centre; start is a write of an area's start,
    // which the area's first tick writes again.
    struct Write {
        std::int32_t item = 0;
        float lat = 0;
        float lon = 0;
        bool start = false;
    };

    VoyageEstimator(const VoyageInputs& inputs, const TimerModel& timer, char decimalSeparator,
                    std::int64_t tickBudget = DefaultTickBudget);

    // The voyage a Start would begin now on the active page, from area or
    // memo line itemNo (VoyageState's ItemNo: 1 after an end, the stopped
    // area or line after a Stop). Not for a paused voyage: Start resumes it.
    // writes, when given, receives every write of the run.
    VoyageEstimate BeforeStart(std::int32_t itemNo, std::vector<Write>* writes = nullptr) const;

    // What is left of a voyage in progress (running or paused), counted from
    // the next tick at the timer's current interval.
    VoyageEstimate TimeLeft(const VoyageState& state) const;

private:
    VoyageEstimate Run(VoyageState state, bool start, std::vector<Write>* writes) const;

    const VoyageInputs& inputs_;
    const TimerModel& timer_;
    char separator_;
    std::int64_t tickBudget_;
};

} // namespace tembrel
