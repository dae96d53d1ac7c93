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
    if (row < 0 || row >= VoyageInputs::GridRowCount) {
        return false;
    }
    for (int column = 0; column < VoyageInputs::GridColumnCount; ++column) {
        if (context_.inputs.GridCell(column, row).empty()) {
            return false;
        }
    }
    return true;
}

void MultipleAreasSequencer::Start() {
    VoyageState& state = context_.state;
    context_.view.SetAreaLabelVisible(true);
    state.AreasDone = false;
    const std::int32_t row = state.ItemNo - 1;
    state.ItemIdx = row;
    if (!RowComplete(row)) {
        // No further area: the next tick ends the voyage, at the current interval.
        context_.timer.SetEnabled(true);
        state.AreasDone = true;
        return;
    }
    // This start has no data message of its own: the error itself is shown.
    // It is shown here, once, so that the window can return to idle after it.
    try {
        PlanRow(row);
    } catch (const SilentAbort&) {
        context_.steps.RecoverFromFailedStart();
    } catch (const std::exception& e) {
        context_.view.ShowDefaultErrorBox(DefaultErrorBoxText(MessageOf(e)));
        context_.steps.RecoverFromFailedStart();
    }
}

void MultipleAreasSequencer::PlanRow(int row) {
    const VoyageInputs& inputs = context_.inputs;
    context_.view.SetAreaLabelCaption(AreaLabel(context_.state.ItemNo));
    PlanArea(context_.state, AreaInputTexts::OfGridRow(inputs, row).Texts(),
             context_.steps.DecimalSeparator());
    context_.steps.WriteView();
    context_.timer.SetInterval(
        VoyageController::RefreshMilliseconds(inputs.EditText(InputEdit::E_VR)));
    context_.timer.SetEnabled(true);
}

void MultipleAreasSequencer::EndOfList() {
    context_.steps.EndVoyage();
    context_.state.ItemNo = 1;
}

void MultipleAreasSequencer::NextArea() {
    context_.state.ItemNo = NextItemNo(context_.state.ItemNo);
    context_.view.SetProgress(0);
    context_.timer.SetEnabled(false);
    context_.steps.Start();
}

} // namespace tembrel
