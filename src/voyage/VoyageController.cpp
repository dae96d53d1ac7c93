#include "VoyageController.h"

#include "AreaPlan.h"
#include "AreaWalk.h"
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
constexpr std::int16_t EditKind = 0;
constexpr std::int16_t ControlKind = 2;

constexpr std::array<InputEdit, 8> AllEdits = {
    InputEdit::E_LatD, InputEdit::E_LonD,  InputEdit::E_VE,     InputEdit::E_VS,
    InputEdit::E_VA,   InputEdit::E_VEast, InputEdit::E_VSouth, InputEdit::E_VR};

} // namespace

VoyageController::VoyageController(VoyageState& state, VoyageWindow& window,
                                   const ViewFileWriter& writer)
    : state_(state), window_(window), writer_(writer), areas_(*this), points_(*this) {}

void VoyageController::FormCreate() {
    state_.ItemNo = 1;
    state_.CurLat = 0;
    state_.CurLon = 0;
    state_.Paused = false;
    state_.InProgress = false;
}

bool VoyageController::InputsComplete() const {
    switch (window_.ActivePage()) {
    case Page::TS_Area:
        for (InputEdit edit : AllEdits) {
            if (!window_.EditText(edit).empty()) {
                return true;
            }
        }
        return false;
    case Page::TS_Points:
        return window_.MemoLineCount() > 0;
    case Page::TS_MAreas:
        return true;
    }
    return true;
}

void VoyageController::B_StartClick() {
    if (!InputsComplete()) {
        window_.ShowMessage(messages::DataMissing, BoxType::Error, ButtonOk);
        return;
    }
    // Two copies writing one view file would fly Google Earth between two
    // voyages. A resume keeps the lock its start took.
    if (!lock_.Acquire(writer_.Path())) {
        window_.ShowMessage(messages::AnotherTembrel, BoxType::Error, ButtonOk);
        RecoverFromFailedStart();
        return;
    }
    LockInputs();
    state_.InProgress = true;
    window_.SetAreasPanelEnabled(false);
    window_.FocusRefreshEdit();
    window_.SetStartCaption(messages::StartCaption);
    window_.SetStartVisible(false);
    if (state_.Paused) {
        // Resume: same position, same period, nothing read again.
        state_.Paused = false;
        window_.SetTimerEnabled(true);
        return;
    }
    switch (window_.ActivePage()) {
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
        window_.SetProgress(0);
        PlanAreaFromEdits(state_, window_, decimalSeparator_);
        WriteView();
        window_.SetTimerInterval(RefreshInterval());
        window_.SetTimerEnabled(true);
    } catch (const std::exception&) {
        window_.ShowMessage(messages::DataNotCorrect, BoxType::Error, ButtonOk);
        RecoverFromFailedStart();
    }
}

void VoyageController::T_TimerTimer() {
    try {
        Tick();
    } catch (const SilentAbort&) {
        throw;
    } catch (const std::exception& e) {
        // A box that waited for OK would hold the timer; the next tick retries.
        tickFaulted_ = true;
        window_.ShowTickFault(DefaultErrorBoxText(e.what()));
        return;
    }
    ClearTickFault();
}

void VoyageController::ClearTickFault() {
    if (tickFaulted_) {
        tickFaulted_ = false;
        window_.TickFaultCleared();
    }
}

void VoyageController::Tick() {
    const Page page = window_.ActivePage();
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
        const Extended east = AreaWalk::EastStep(EditValue(InputEdit::E_VEast));
        state_.CurLon = StoreSingle(Add(east, state_.CurLon));
        if (state_.CurLon > state_.EndLon) {
            MoveToNextRow();
        }
    }
    if (state_.SnapshotCount > 0) {
        window_.AddProgress(ProgressStep(state_.SnapshotCount));
    }
}

void VoyageController::MoveToNextRow() {
    const Extended south = AreaWalk::SouthStep(EditValue(InputEdit::E_VSouth));
    state_.CurLat = StoreSingle(Sub(state_.CurLat, south));
    state_.CurLon = state_.RowStartLon;
}

void VoyageController::B_PauseClick() {
    if (!state_.InProgress) {
        return;
    }
    window_.SetTimerEnabled(false);
    window_.SetStartCaption(messages::ResumeCaption);
    window_.SetStartVisible(true);
    state_.Paused = true;
}

void VoyageController::B_StopClick() {
    const ModalResult answer =
        window_.ShowMessage(messages::ConfirmStop, BoxType::Confirmation, ButtonYes | ButtonNo);
    // Ticks run while the question is open and may have ended the voyage.
    if (answer != ModalResult::No && state_.InProgress) {
        EndVoyage();
    }
}

void VoyageController::EndVoyage() {
    ClearTickFault();
    window_.SetTimerEnabled(false);
    window_.ShowMessage(messages::VoyageEnded, BoxType::Information, ButtonOk);
    ResetToIdle();
}

void VoyageController::RecoverFromFailedStart() {
    window_.SetTimerEnabled(false);
    ResetToIdle();
}

void VoyageController::ResetToIdle() {
    lock_.Release();
    UnlockInputs();
    window_.SetAreasPanelEnabled(true);
    state_.CurLat = 0;
    state_.CurLon = 0;
    state_.Paused = false;
    state_.InProgress = false;
    window_.SetStartCaption(messages::StartCaption);
    window_.SetStartVisible(true);
    window_.SetProgress(0);
    window_.SetAreaLabelVisible(false);
}

void VoyageController::LockInputs() {
    for (Control edit : LockedEdits) {
        window_.SetFieldState(EditKind, edit, false);
    }
    window_.SetFieldState(ControlKind, Control::M_Points, false);
}

void VoyageController::UnlockInputs() {
    for (Control edit : LockedEdits) {
        window_.SetFieldState(EditKind, edit, true);
    }
    window_.SetFieldState(ControlKind, Control::M_Points, true);
}

void VoyageController::WriteView() {
    writer_.WriteViewFile(state_, decimalSeparator_);
    if (viewWritten_) {
        viewWritten_();
    }
}

Extended VoyageController::EditValue(InputEdit edit) const {
    return StrToFloat(window_.EditText(edit), decimalSeparator_);
}

std::int32_t VoyageController::RefreshInterval() const {
    return RefreshMilliseconds(window_.EditText(InputEdit::E_VR));
}

void VoyageController::PlanAreaFromEdits(VoyageState& state, const VoyageWindow& window,
                                         char decimalSeparator) {
    const std::string latitude = window.EditText(InputEdit::E_LatD);
    const std::string longitude = window.EditText(InputEdit::E_LonD);
    const std::string width = window.EditText(InputEdit::E_VE);
    const std::string height = window.EditText(InputEdit::E_VS);
    const std::string snapWidth = window.EditText(InputEdit::E_VEast);
    const std::string snapHeight = window.EditText(InputEdit::E_VSouth);
    const std::string altitude = window.EditText(InputEdit::E_VA);
    PlanArea(state, AreaTexts{latitude, longitude, width, height, snapWidth, snapHeight, altitude},
             decimalSeparator);
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

std::int32_t VoyageController::NextItemNo(std::int32_t itemNo) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(itemNo) + 1u);
}

std::int32_t VoyageController::ProgressStep(std::int32_t snapshotCount) {
    return RoundToInt32(Div(1000000000.0L, snapshotCount));
}

} // namespace tembrel
