#pragma once

#include "SequencerContext.h"

#include <cstdint>

namespace tembrel {

// The Scattered Points tab's part of a voyage: each tick writes the point
// loaded one period earlier and searches the memo for the next one.
class ScatteredPointsSequencer {
public:
    explicit ScatteredPointsSequencer(SequencerContext context) : context_(context) {}

    // The Start sequence's branch for this tab: loads the first point line at
    // or after line ItemNo - 1 and arms the timer, or ends the voyage when no
    // line is left. A failure shows the data message and returns to idle.
    void Start();

    // The tick on this tab: writes the loaded point, moves the search start
    // one line on and runs the Start sequence again.
    void Step();

private:
    // Loads the point of the current PointLine and arms the timer.
    void LoadPoint(std::int32_t commaIndex);

    SequencerContext context_;
};

} // namespace tembrel
