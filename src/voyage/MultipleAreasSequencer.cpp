#include "MultipleAreasSequencer.h"

#include "AreaPlan.h"
#include "DefaultErrorBox.h"
#include "Messages.h"
#include "VoyageController.h"
#include "VoyageErrors.h"

#include <cstdint>
#include <exception>

namespace tembrel {

std::string MultipleAreasSequencer::AreaLabel(int itemNo) {
    return messages::AreaLabelPrefix + std::to_string(itemNo);
}

bool MultipleAreasSequencer::RowComplete(int row) const {
    if (row < 0 || row >= VoyageWindow::GridRowCount) {
        return false;
    }
    for (int column = 0; column < VoyageWindow::GridColumnCount; ++column) {
        if (controller_.window_.GridCell(column, row).empty()) {
            return false;
        }
    }
    return true;
}

void MultipleAreasSequencer::Start() {
    VoyageState& state = controller_.state_;
    VoyageWindow& window = controller_.window_;
    window.SetAreaLabelVisible(true);
    state.AreasDone = false;
    const std::int32_t row = state.ItemNo - 1;
    state.ItemIdx = row;
    if (!RowComplete(row)) {
        // No further area: the next tick ends the voyage, at the current interval.
        window.SetTimerEnabled(true);
        state.AreasDone = true;
        return;
    }
    // This start has no data message of its own: the error itself is shown.
    // It is shown here, once, so that the window can return to idle after it.
    try {
        PlanRow(row);
    } catch (const SilentAbort&) {
        controller_.RecoverFromFailedStart();
    } catch (const std::exception& e) {
        window.ShowDefaultErrorBox(DefaultErrorBoxText(e.what()));
        controller_.RecoverFromFailedStart();
    }
}

void MultipleAreasSequencer::PlanRow(int row) {
    VoyageState& state = controller_.state_;
    VoyageWindow& window = controller_.window_;
    window.SetAreaLabelCaption(AreaLabel(state.ItemNo));
    const std::string latitude = window.GridCell(0, row);
    const std::string longitude = window.GridCell(1, row);
    const std::string width = window.GridCell(2, row);
    const std::string height = window.GridCell(3, row);
    const std::string snapWidth = window.EditText(InputEdit::E_VEast);
    const std::string snapHeight = window.EditText(InputEdit::E_VSouth);
    const std::string altitude = window.EditText(InputEdit::E_VA);
    PlanArea(state, AreaTexts{latitude, longitude, width, height, snapWidth, snapHeight, altitude},
             controller_.decimalSeparator_);
    controller_.WriteView();
    window.SetTimerInterval(controller_.RefreshInterval());
    window.SetTimerEnabled(true);
}

void MultipleAreasSequencer::EndOfList() {
    controller_.EndVoyage();
    controller_.state_.ItemNo = 1;
}

void MultipleAreasSequencer::NextArea() {
    VoyageState& state = controller_.state_;
    VoyageWindow& window = controller_.window_;
    state.ItemNo = VoyageController::NextItemNo(state.ItemNo);
    window.SetProgress(0);
    window.SetTimerEnabled(false);
    controller_.B_StartClick();
}

} // namespace tembrel
