#pragma once

#include "ExtendedMath.h"
#include "MultipleAreasSequencer.h"
#include "ScatteredPointsSequencer.h"
#include "SequencerContext.h"
#include "TimerModel.h"
#include "ViewFileLock.h"
#include "ViewFileWriter.h"
#include "VoyageInputs.h"
#include "VoyageState.h"
#include "VoyageView.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tembrel {

// Runs a voyage: starts it from the inputs of the active page, drives it one
// centre per timer tick, pauses, resumes, stops and ends it. Start, Tick,
// Pause and Stop are the window's event handlers; errors that a handler does not trap escape to
// the caller, which shows them in the default error box (RunHandler). The
// tick is the exception: its errors go to the view's tick fault box, which
// does not halt the timer, and the box closes once a tick succeeds again (or
// the voyage ends). It reads the inputs, tells the view, and arms the timer
// whose ticks the window delivers to Tick.
class VoyageController final : private VoyageSteps {
public:
    VoyageController(VoyageState& state, VoyageView& view, const VoyageInputs& inputs,
                     TimerModel& timer, const ViewFileWriter& writer);

    // The regional decimal separator, used for every conversion and write
    // from now on. The window passes it in and updates it when it changes.
    void SetDecimalSeparator(char separator) { decimalSeparator_ = separator; }
    char DecimalSeparator() const override { return decimalSeparator_; }

    // Called after every successful write of the view file (tembrel-sim and
    // the tests read the file back there). Empty by default.
    void SetViewWrittenListener(std::function<void()> listener) {
        viewWritten_ = std::move(listener);
    }

    // The window's creation: ItemNo 1, CurLat and CurLon 0, not paused.
    void Create();

    // The Start button: starts a voyage from the active page, or resumes one.
    void Start() override;
    // The timer's tick: one step of the voyage.
    void Tick();
    // The Pause button: the timer stops, Start resumes.
    void Pause();
    // The Stop button: asks, then ends the voyage.
    void Stop();
    void EndVoyage() override;

    // Whether the active page holds input to start from.
    bool InputsComplete() const;

    // Whether the last tick failed and its box has not been cleared.
    bool TickFaulted() const { return tickFaulted_; }

    // The progress step for a divisor: 1000000000 / count, rounded to nearest
    // with ties to even.
    static std::int32_t ProgressStep(std::int32_t snapshotCount);

    // The refresh period text in milliseconds. A text that is not an integer,
    // a period of 0 or below and one whose milliseconds exceed 32 bits are
    // all refused with the integer conversion's error.
    static std::int32_t RefreshMilliseconds(const std::string& text);

    // Plans the area of the Area page: PlanArea on the seven edit texts.
    static void PlanAreaFromEdits(VoyageState& state, const VoyageInputs& inputs,
                                  char decimalSeparator);

    const VoyageState& State() const { return state_; }

private:
    void LockInputs();
    void UnlockInputs();
    void AreaStart();
    void Advance();
    void ClearTickFault();
    void AreaStep();
    void MoveToNextRow();
    // Back to the idle layout after a failed start, as EndVoyage without its
    // message; ItemNo is kept so that Start continues at the same row or line.
    void RecoverFromFailedStart() override;
    void ResetToIdle();
    void WriteView() override;
    Extended EditValue(InputEdit edit) const;

    VoyageState& state_;
    VoyageView& view_;
    const VoyageInputs& inputs_;
    TimerModel& timer_;
    const ViewFileWriter& writer_;
    MultipleAreasSequencer areas_;
    ScatteredPointsSequencer points_;
    // Held from a start to the return to the idle layout.
    ViewFileLock lock_;
    char decimalSeparator_ = '.';
    std::function<void()> viewWritten_;
    bool tickFaulted_ = false;
};

} // namespace tembrel
