#pragma once

#include "AreaPlan.h"
#include "ExtendedMath.h"
#include "TimerModel.h"
#include "VoyageInputs.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tembrel {

// A KML 2.2 document of what a voyage on the active page will cache, to look
// at in Google Earth before a minute is spent: each area's rectangle, the
// footprint of every snapshot the voyage visits (snapshot width x height
// around its centre, on the flat scale of 32/3600 degree of latitude and
// 37/3600 degree of longitude a km), the strips along the east and south
// edges that no snapshot covers, and on the points page each point. What the
// voyage visits comes from running it (VoyageEstimator).
class CoveragePreview {
public:
    // Its usual name, beside the view file.
    static constexpr const char* DefaultFileName = "TembrelCoverage.kml";
    // Beyond this many footprints in all, each area shows the one rectangle
    // its snapshots cover instead: Google Earth draws that at once.
    static constexpr std::int64_t MaxFootprints = 10000;

    CoveragePreview(const VoyageInputs& inputs, const TimerModel& timer, char decimalSeparator);

    // The document for a voyage started now from area or memo line itemNo.
    // A voyage that does not run to its end by itself (it fails, never ends
    // or is too long to count) is refused: VoyageError with the estimate's
    // description of why.
    std::string Render(std::int32_t itemNo) const;

    // West, south, east and north edges in degrees.
    struct Box {
        Extended west = 0;
        Extended south = 0;
        Extended east = 0;
        Extended north = 0;
    };

    // One area as the voyage flies it.
    struct AreaCover {
        Box area;
        std::vector<float> rowLatitudes;     // the centres' rows, north to south
        std::vector<float> columnLongitudes; // every row's centres, west to east
        Extended halfWidth = 0;              // half a snapshot, degrees of longitude
        Extended halfHeight = 0;             // half a snapshot, degrees of latitude
        // The parts of the area outside every footprint: an east strip (down to
        // the last row's footprints) and a south strip (the whole width), the
        // whole area when no snapshot is visited.
        std::vector<Box> uncovered;
    };

private:
    // The cover of one area from the centres the voyage's ticks wrote in it,
    // in order.
    AreaCover Cover(const AreaTexts& texts,
                    const std::vector<std::pair<float, float>>& centres) const;

    const VoyageInputs& inputs_;
    const TimerModel& timer_;
    char separator_;
};

} // namespace tembrel
