#pragma once

#include "VoyageState.h"

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

} // namespace tembrel
