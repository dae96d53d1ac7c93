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
    VoyageState& state = controller_.state_;
    VoyageWindow& window = controller_.window_;
    try {
        state.SnapshotCount = window.MemoLineCount();
        for (std::int32_t line = std::max<std::int32_t>(state.ItemNo - 1, 0);
             line < state.SnapshotCount; ++line) {
            state.ItemIdx = line;
            state.PointLine = window.MemoLine(line);
            const auto comma = state.PointLine.find(',');
            if (comma != std::string::npos) {
                LoadPoint(static_cast<std::int32_t>(comma));
                return;
            }
        }
        controller_.EndVoyage();
        state.ItemNo = 1;
    } catch (const std::exception&) {
        window.ShowMessage(messages::DataNotCorrect, BoxType::Error, ButtonOk);
        controller_.RecoverFromFailedStart();
    }
}

void ScatteredPointsSequencer::LoadPoint(std::int32_t commaIndex) {
    VoyageState& state = controller_.state_;
    VoyageWindow& window = controller_.window_;
    const char separator = controller_.decimalSeparator_;
    const std::string_view line = state.PointLine;
    state.CommaPos = commaIndex + 1;
    state.CurLon = StoreSingle(StrToFloat(line.substr(0, commaIndex), separator));
    state.CurLat = StoreSingle(StrToFloat(line.substr(commaIndex + 1), separator));
    state.Range = StrToInt(window.EditText(InputEdit::E_VA));
    window.SetTimerInterval(controller_.RefreshInterval());
    window.AddProgress(VoyageController::ProgressStep(state.SnapshotCount));
    window.SetTimerEnabled(true);
}

void ScatteredPointsSequencer::Step() {
    VoyageState& state = controller_.state_;
    controller_.WriteView();
    state.ItemNo = VoyageController::NextItemNo(state.ItemNo);
    controller_.window_.SetTimerEnabled(false);
    controller_.B_StartClick();
}

} // namespace tembrel
