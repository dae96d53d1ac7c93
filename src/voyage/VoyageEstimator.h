#pragma once

#include "AreaWalk.h"
#include "TimerModel.h"
#include "VoyageEstimate.h"
#include "VoyageInputs.h"
#include "VoyageState.h"

#include <cstdint>

namespace tembrel {

// Works out a voyage's views and length from the window's inputs, by the
// voyage's own rules: PlanArea for each area, the tick's walk through it
// (AreaWalk), the point search through the memo, and the timer's periods.
// An area of n centres takes n + 1 periods (its first centre is written at
// the start and again by the first tick); a Multiple Areas voyage takes the
// sum over its areas plus the period of the tick that ends it; a points
// voyage one period per memo line from its first search line up to the last
// point line. It reads the inputs and the timer and writes nothing.
class VoyageEstimator {
public:
    // Most steps the walks of one estimate may take; beyond it the voyage is
    // TooLong. Keeps an estimate on every keystroke below a few milliseconds.
    static constexpr std::int64_t DefaultWalkBudget = 2000000;

    VoyageEstimator(const VoyageInputs& inputs, const TimerModel& timer, char decimalSeparator,
                    std::int64_t walkBudget = DefaultWalkBudget);

    // The voyage a Start would begin now on the active page, from area or
    // memo line itemNo (VoyageState's ItemNo: 1 after an end, the stopped
    // area or line after a Stop). Not for a paused voyage: Start resumes it.
    VoyageEstimate BeforeStart(std::int32_t itemNo) const;

    // What is left of a voyage in progress (running or paused), counted from
    // the next tick: the state's position, the active page's rules and the
    // timer's current interval for the periods until the next area or point
    // reads the refresh period again.
    VoyageEstimate TimeLeft(const VoyageState& state) const;

    // Whether the grid's row exists and none of its four cells is empty, as
    // the Multiple Areas start decides it (blanks count as filled).
    static bool GridRowComplete(const VoyageInputs& inputs, std::int64_t row);

private:
    VoyageEstimate Area() const;
    // Areas from grid row itemNo - 1 on. idleInterval is the timer's interval
    // for the tick that ends a list with no area left.
    VoyageEstimate Areas(std::int32_t itemNo, std::int32_t idleInterval) const;
    VoyageEstimate Points(std::int32_t itemNo) const;
    // The centres left of a planned area from the position (lat, lon).
    AreaWalk::Result CentresFrom(const VoyageState& plan, float lat, float lon) const;

    const VoyageInputs& inputs_;
    const TimerModel& timer_;
    char separator_;
    std::int64_t walkBudget_;
    // What the walks of the current estimate may still spend.
    mutable std::int64_t budgetLeft_ = 0;
};

} // namespace tembrel
