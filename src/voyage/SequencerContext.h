#pragma once

#include "TimerModel.h"
#include "VoyageInputs.h"
#include "VoyageState.h"
#include "VoyageView.h"

namespace tembrel {

// Abstract base class for the steps a page's sequencer shares with the rest
// of a voyage. The controller implements them; a test may stand in for it.
class VoyageSteps {
public:
    // The regional decimal separator of every conversion.
    virtual char DecimalSeparator() const = 0;
    // Writes the view of the state's position (and tells the listener).
    virtual void WriteView() = 0;
    // The Start sequence, as the Start button runs it.
    virtual void Start() = 0;
    // Stops the timer, says the voyage has ended and returns to idle.
    virtual void EndVoyage() = 0;
    // Back to idle after a failed start, without a message.
    virtual void RecoverFromFailedStart() = 0;

protected:
    ~VoyageSteps() = default;
};

// What a sequencer works with: the voyage's state, the view, the inputs, the
// timer and the shared steps. Nothing else of the controller.
struct SequencerContext {
    VoyageState& state;
    VoyageView& view;
    const VoyageInputs& inputs;
    TimerModel& timer;
    VoyageSteps& steps;
};

} // namespace tembrel
