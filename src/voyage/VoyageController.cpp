#include "VoyageController.h"

#include "AreaPlan.h"
#include "DefaultErrorBox.h"
#include "ExtendedMath.h"
#include "Messages.h"
#include "TextConversion.h"
#include "VoyageErrors.h"

#include <array>
#include <limits>

namespace tembrel {

namespace {

// The inputs a voyage locks, in the order it locks and unlocks them.
constexpr std::array<Control, 7> LockedEdits = {Control::E_LatD,  Control::E_LonD, Control::E_VE,
                                                Control::E_VS,    Control::E_VA,   Control::E_VEast,
                                                Control::E_VSouth};

constexpr std::array<InputEdit, 8> AllEdits = {
    InputEdit::E_LatD, InputEdit::E_LonD,  InputEdit::E_VE,     InputEdit::E_VS,
    InputEdit::E_VA,   InputEdit::E_VEast, InputEdit::E_VSouth, InputEdit::E_VR};

} // namespace

VoyageController::VoyageController(VoyageState& state, VoyageView& view, const VoyageInputs& inputs,
                                   TimerModel& timer, const ViewFileWriter& writer)
    : state_(state), view_(view), inputs_(inputs), timer_(timer), writer_(writer),
      areas_({state, view, inputs, timer, *this}), points_({state, view, inputs, timer, *this}) {}

void VoyageController::Create() {
    state_.ItemNo = 1;
    state_.CurLat = 0;
    state_.CurLon = 0;
    state_.Paused = false;
    state_.InProgress = false;
}

bool VoyageController::InputsComplete() const {
    switch (inputs_.ActivePage()) {
    case Page::TS_Area:
        for (InputEdit edit : AllEdits) {
            if (!inputs_.EditText(edit).empty()) {
                return true;
            }
        }
        return false;
    case Page::TS_Points:
        return inputs_.MemoLineCount() > 0;
    case Page::TS_MAreas:
        return true;
    }
    return true;
}

void VoyageController::Start() {
    if (!InputsComplete()) {
        view_.ShowMessage(messages::DataMissing, BoxType::Error, ButtonOk);
        return;
    }
    // Two copies writing one view file would fly Google Earth between two
    // voyages. A resume keeps the lock its start took.
    const ViewFileLock::Result lock = writer_.LockFolder(lock_);
    if (lock == ViewFileLock::Result::HeldElsewhere || lock == ViewFileLock::Result::Unusable) {
        view_.ShowMessage(lock == ViewFileLock::Result::HeldElsewhere ? messages::AnotherTembrel
                                                                      : messages::LockUnusable,
                          BoxType::Error, ButtonOk);
        RecoverFromFailedStart();
        return;
    }
    LockInputs();
    state_.InProgress = true;
    view_.SetAreasPanelEnabled(false);
    view_.FocusRefreshEdit();
    view_.SetStartCaption(messages::StartCaption);
    view_.SetStartVisible(false);
    if (state_.Paused) {
        // Resume: same position, same period, nothing read again.
        state_.Paused = false;
        timer_.SetEnabled(true);
        return;
    }
    switch (inputs_.ActivePage()) {
    case Page::TS_Area:
        AreaStart();
        break;
    case Page::TS_MAreas:
        areas_.Start();
        break;
    case Page::TS_Points:
        points_.Start();
        break;
    }
}

void VoyageController::AreaStart() {
    try {
        view_.SetProgress(0);
        PlanAreaFromEdits(state_, inputs_, decimalSeparator_);
        WriteView();
        timer_.SetInterval(RefreshMilliseconds(inputs_.EditText(InputEdit::E_VR)));
        timer_.SetEnabled(true);
    } catch (const std::exception&) {
        view_.ShowMessage(messages::DataNotCorrect, BoxType::Error, ButtonOk);
        RecoverFromFailedStart();
    }
}

void VoyageController::Tick() {
    try {
        Advance();
    } catch (const SilentAbort&) {
        throw;
    } catch (const std::exception& e) {
        // A box that waited for OK would hold the timer; the next tick retries.
        tickFaulted_ = true;
        view_.ShowTickFault(DefaultErrorBoxText(MessageOf(e)));
        return;
    }
    ClearTickFault();
}

void VoyageController::ClearTickFault() {
    if (tickFaulted_) {
        tickFaulted_ = false;
        view_.TickFaultCleared();
    }
}

void VoyageController::Advance() {
    const Page page = inputs_.ActivePage();
    if (page == Page::TS_Points) {
        points_.Step();
        return;
    }
    if (page == Page::TS_MAreas && state_.AreasDone) {
        areas_.EndOfList();
        return;
    }
    if (state_.CurLat >= state_.EndLat) {
        AreaStep();
    } else if (page == Page::TS_MAreas) {
        areas_.NextArea();
    } else {
        EndVoyage();
        state_.ItemNo = 1;
    }
}

void VoyageController::AreaStep() {
    // The write comes first: when it fails, the position stays for the next tick.
    WriteView();
    if (state_.CurLon >= state_.EndLon) {
        MoveToNextRow();
    } else {
        const Extended east = EastStep(EditValue(InputEdit::E_VEast));
        state_.CurLon = StoreSingle(Add(east, state_.CurLon));
        if (state_.CurLon > state_.EndLon) {
            MoveToNextRow();
        }
    }
    if (state_.SnapshotCount > 0) {
        view_.AddProgress(ProgressStep(state_.SnapshotCount));
    }
}

void VoyageController::MoveToNextRow() {
    const Extended south = SouthStep(EditValue(InputEdit::E_VSouth));
    state_.CurLat = StoreSingle(Sub(state_.CurLat, south));
    state_.CurLon = state_.RowStartLon;
}

void VoyageController::Pause() {
    if (!state_.InProgress) {
        return;
    }
    timer_.SetEnabled(false);
    view_.SetStartCaption(messages::ResumeCaption);
    view_.SetStartVisible(true);
    state_.Paused = true;
}

void VoyageController::Stop() {
    const ModalResult answer =
        view_.ShowMessage(messages::ConfirmStop, BoxType::Confirmation, ButtonYes | ButtonNo);
    // Ticks run while the question is open and may have ended the voyage.
    if (answer != ModalResult::No && state_.InProgress) {
        EndVoyage();
    }
}

void VoyageController::EndVoyage() {
    ClearTickFault();
    timer_.SetEnabled(false);
    view_.VoyageEnded();
    view_.ShowMessage(messages::VoyageEnded, BoxType::Information, ButtonOk);
    ResetToIdle();
}

void VoyageController::RecoverFromFailedStart() {
    timer_.SetEnabled(false);
    ResetToIdle();
}

void VoyageController::ResetToIdle() {
    lock_.Release();
    UnlockInputs();
    view_.SetAreasPanelEnabled(true);
    state_.CurLat = 0;
    state_.CurLon = 0;
    state_.Paused = false;
    state_.InProgress = false;
    view_.SetStartCaption(messages::StartCaption);
    view_.SetStartVisible(true);
    view_.SetProgress(0);
    view_.SetAreaLabelVisible(false);
}

void VoyageController::LockInputs() {
    for (Control edit : LockedEdits) {
        view_.SetFieldState(LockKind::ReadOnly, edit, false);
    }
    view_.SetFieldState(LockKind::Enabled, Control::M_Points, false);
}

void VoyageController::UnlockInputs() {
    for (Control edit : LockedEdits) {
        view_.SetFieldState(LockKind::ReadOnly, edit, true);
    }
    view_.SetFieldState(LockKind::Enabled, Control::M_Points, true);
}

void VoyageController::WriteView() {
    writer_.WriteViewFile(state_, decimalSeparator_);
    if (viewWritten_) {
        viewWritten_();
    }
}

Extended VoyageController::EditValue(InputEdit edit) const {
    return StrToFloat(inputs_.EditText(edit), decimalSeparator_);
}

void VoyageController::PlanAreaFromEdits(VoyageState& state, const VoyageInputs& inputs,
                                         char decimalSeparator) {
    PlanArea(state, AreaInputTexts::OfAreaPage(inputs).Texts(), decimalSeparator);
}

std::int32_t VoyageController::RefreshMilliseconds(const std::string& text) {
    const std::int64_t milliseconds = std::int64_t{StrToInt(text)} * 1000;
    // A period the timer cannot hold is as unusable as one that is not a
    // number; so is 0, which would never tick and leave the voyage standing.
    if (milliseconds <= 0 || milliseconds > std::numeric_limits<std::int32_t>::max()) {
        throw ConversionError("'" + text + "' is not a valid integer value");
    }
    return static_cast<std::int32_t>(milliseconds);
}

std::int32_t VoyageController::ProgressStep(std::int32_t snapshotCount) {
    return RoundToInt32(Div(1000000000.0L, snapshotCount));
}

} // namespace tembrel
