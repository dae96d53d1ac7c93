#include "AreaPlan.h"

#include "ExtendedMath.h"
#include "TextConversion.h"

namespace tembrel {

AreaInputTexts AreaInputTexts::OfAreaPage(const VoyageInputs& inputs) {
    return {inputs.EditText(InputEdit::E_LatD),  inputs.EditText(InputEdit::E_LonD),
            inputs.EditText(InputEdit::E_VE),    inputs.EditText(InputEdit::E_VS),
            inputs.EditText(InputEdit::E_VEast), inputs.EditText(InputEdit::E_VSouth),
            inputs.EditText(InputEdit::E_VA)};
}

AreaInputTexts AreaInputTexts::OfGridRow(const VoyageInputs& inputs, int row) {
    return {inputs.GridCell(0, row),
            inputs.GridCell(1, row),
            inputs.GridCell(2, row),
            inputs.GridCell(3, row),
            inputs.EditText(InputEdit::E_VEast),
            inputs.EditText(InputEdit::E_VSouth),
            inputs.EditText(InputEdit::E_VA)};
}

void PlanArea(VoyageState& state, const AreaTexts& texts, char decimalSeparator) {
    // Texts are converted again at every use, in this order, so that the first
    // bad text decides the error and the fields stored before it keep their
    // new values.
    const auto real = [decimalSeparator](std::string_view text) {
        return StrToFloat(text, decimalSeparator);
    };

    // The first centre lies half a snapshot south and east of the corner.
    {
        const Extended latitude = real(texts.latitude);
        const Extended snapshotHeight = real(texts.snapshotHeight);
        state.CurLat = StoreSingle(Sub(latitude, Mul(Div(snapshotHeight, 2), K32)));
    }
    {
        const Extended longitude = real(texts.longitude);
        const Extended snapshotWidth = real(texts.snapshotWidth);
        state.CurLon = StoreSingle(Add(Mul(Div(snapshotWidth, 2), K37), longitude));
    }
    state.RowStartLon = state.CurLon;
    state.Range = StrToInt(texts.altitude);

    // The last row and column are those whose snapshot still lies inside the
    // area; the bounds multiply by 32 or 37 before dividing by 3600, as the
    // tick's steps do.
    {
        const Extended areaHeight = real(texts.areaHeight);
        const Extended snapshotHeight = real(texts.snapshotHeight);
        const Extended span = Div(Mul(Sub(areaHeight, snapshotHeight), 32), 3600);
        state.EndLat = StoreSingle(Sub(state.CurLat, span));
    }
    {
        const Extended areaWidth = real(texts.areaWidth);
        const Extended snapshotWidth = real(texts.snapshotWidth);
        const Extended span = Div(Mul(Sub(areaWidth, snapshotWidth), 37), 3600);
        state.EndLon = StoreSingle(Add(span, state.CurLon));
    }

    // A count beyond 32 bits is an invalid operation, and a product that does
    // not fit is refused rather than wrapped.
    // (Arguments are evaluated in no fixed order, hence one text per line.)
    const Extended areaWidth = real(texts.areaWidth);
    const Extended snapshotWidth = real(texts.snapshotWidth);
    const std::int32_t columns = FloorToInt32(Div(areaWidth, snapshotWidth));
    const Extended areaHeight = real(texts.areaHeight);
    const Extended snapshotHeight = real(texts.snapshotHeight);
    const std::int32_t rows = FloorToInt32(Div(areaHeight, snapshotHeight));
    state.SnapshotCount = CheckedMul32(columns, rows);
}

} // namespace tembrel
