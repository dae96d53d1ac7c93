#include "ScatteredPointsSequencer.h"

#include "ExtendedMath.h"
#include "Messages.h"
#include "TextConversion.h"
#include "VoyageController.h"

#include <algorithm>
#include <exception>
#include <string_view>

namespace tembrel {

void ScatteredPointsSequencer::Start() {
    VoyageState& state = context_.state;
    try {
        state.SnapshotCount = context_.inputs.MemoLineCount();
        for (std::int32_t line = std::max<std::int32_t>(state.ItemNo - 1, 0);
             line < state.SnapshotCount; ++line) {
            state.ItemIdx = line;
            state.PointLine = context_.inputs.MemoLine(line);
            const auto comma = state.PointLine.find(',');
            if (comma != std::string::npos) {
                LoadPoint(static_cast<std::int32_t>(comma));
                return;
            }
        }
        context_.steps.EndVoyage();
        state.ItemNo = 1;
    } catch (const std::exception&) {
        context_.view.ShowMessage(messages::DataNotCorrect, BoxType::Error, ButtonOk);
        context_.steps.RecoverFromFailedStart();
    }
}

void ScatteredPointsSequencer::LoadPoint(std::int32_t commaIndex) {
    VoyageState& state = context_.state;
    const VoyageInputs& inputs = context_.inputs;
    const char separator = context_.steps.DecimalSeparator();
    const std::string_view line = state.PointLine;
    state.CommaPos = commaIndex + 1;
    state.CurLon = StoreSingle(StrToFloat(line.substr(0, commaIndex), separator));
    state.CurLat = StoreSingle(StrToFloat(line.substr(commaIndex + 1), separator));
    state.Range = StrToInt(inputs.EditText(InputEdit::E_VA));
    context_.timer.SetInterval(
        VoyageController::RefreshMilliseconds(inputs.EditText(InputEdit::E_VR)));
    context_.view.AddProgress(VoyageController::ProgressStep(state.SnapshotCount));
    context_.timer.SetEnabled(true);
}

void ScatteredPointsSequencer::Step() {
    context_.steps.WriteView();
    context_.state.ItemNo = NextItemNo(context_.state.ItemNo);
    context_.timer.SetEnabled(false);
    context_.steps.Start();
}

} // namespace tembrel
