#pragma once

#include "ExtendedMath.h"
#include "MultipleAreasSequencer.h"
#include "ScatteredPointsSequencer.h"
#include "ViewFileLock.h"
#include "ViewFileWriter.h"
#include "VoyageState.h"
#include "VoyageWindow.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tembrel {

// Runs a voyage: starts it from the inputs of the active page, drives it one
// centre per timer tick, pauses, resumes, stops and ends it. The handlers are
// the window's event handlers; errors that a handler does not trap escape to
// the caller, which shows them in the default error box (RunHandler). The
// tick is the exception: its errors go to the window's tick fault box, which
// does not halt the timer, and the box closes once a tick succeeds again (or
// the voyage ends).
class VoyageController {
public:
    VoyageController(VoyageState& state, VoyageWindow& window, const ViewFileWriter& writer);

    // The regional decimal separator, used for every conversion and write
    // from now on. The window passes it in and updates it when it changes.
    void SetDecimalSeparator(char separator) { decimalSeparator_ = separator; }
    char DecimalSeparator() const { return decimalSeparator_; }

    // Called after every successful write of the view file (tembrel-sim and
    // the tests read the file back there). Empty by default.
    void SetViewWrittenListener(std::function<void()> listener) {
        viewWritten_ = std::move(listener);
    }

    // The window's creation: ItemNo 1, CurLat and CurLon 0, not paused.
    void FormCreate();

    void B_StartClick();
    void T_TimerTimer();
    void B_PauseClick();
    void B_StopClick();
    void EndVoyage();

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
    static void PlanAreaFromEdits(VoyageState& state, const VoyageWindow& window,
                                  char decimalSeparator);

    const VoyageState& State() const { return state_; }

private:
    friend class MultipleAreasSequencer;
    friend class ScatteredPointsSequencer;

    void LockInputs();
    void UnlockInputs();
    void AreaStart();
    void Tick();
    void ClearTickFault();
    void AreaStep();
    void MoveToNextRow();
    // Back to the idle layout after a failed start, as EndVoyage without its
    // message; ItemNo is kept so that Start continues at the same row or line.
    void RecoverFromFailedStart();
    void ResetToIdle();
    void WriteView();
    // ItemNo + 1, wrapping at 32 bits like all integer arithmetic of a voyage.
    static std::int32_t NextItemNo(std::int32_t itemNo);
    // The timer interval that E_VR asks for, read afresh.
    std::int32_t RefreshInterval() const;
    Extended EditValue(InputEdit edit) const;

    VoyageState& state_;
    VoyageWindow& window_;
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
