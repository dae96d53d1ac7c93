#pragma once

#include "ExtendedMath.h"
#include "VoyageInputs.h"
#include "VoyageState.h"

#include <string>

#include <string_view>

namespace tembrel {

// The seven texts that describe one area, exactly as typed.
struct AreaTexts {
    std::string_view latitude;       // north-west corner, degrees
    std::string_view longitude;      // north-west corner, degrees
    std::string_view areaWidth;      // km to the East
    std::string_view areaHeight;     // km to the South
    std::string_view snapshotWidth;  // km horizontally
    std::string_view snapshotHeight; // km vertically
    std::string_view altitude;       // whole metres
};

// Plans one area into state: the first centre (CurLat, CurLon, RowStartLon),
// Range, the last row and column (EndLat, EndLon) and SnapshotCount, in that
// order. Each text is converted anew at each use. On a bad text or a fault it
// throws at the failing step; the fields stored before it keep their new
// values. Counts beyond 32 bits are refused (invalid operation; a product
// that overflows raises IntegerOverflowError).
void PlanArea(VoyageState& state, const AreaTexts& texts, char decimalSeparator);

// The tick's step sizes in degrees for a snapshot size in km: multiply first,
// then divide, unlike the plan's half-snapshot offsets.
inline Extended EastStep(Extended snapshotWidthKm) {
    return Div(Mul(snapshotWidthKm, 37), 3600);
}
inline Extended SouthStep(Extended snapshotHeightKm) {
    return Div(Mul(snapshotHeightKm, 32), 3600);
}

// The seven texts of an area as the inputs hold them now.
struct AreaInputTexts {
    std::string latitude, longitude, areaWidth, areaHeight;
    std::string snapshotWidth, snapshotHeight, altitude;

    AreaTexts Texts() const {
        return {latitude,      longitude,      areaWidth, areaHeight,
                snapshotWidth, snapshotHeight, altitude};
    }

    // The Area page's seven edits.
    static AreaInputTexts OfAreaPage(const VoyageInputs& inputs);
    // A grid row's four cells with the snapshot and altitude edits.
    static AreaInputTexts OfGridRow(const VoyageInputs& inputs, int row);
};

} // namespace tembrel
