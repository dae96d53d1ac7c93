#pragma once

#include "ArrivalRecord.h"

#include <string>
#include <vector>

namespace tembrel {

// What the voyage report exports from the arrival record.
class VoyageReport {
public:
    static constexpr const char* MissedFileName = "TembrelMissed.csv";
    static constexpr const char* BoxesFileName = "TembrelReported.kml";

    // The centres Google Earth did not reach, as "Import points..." reads
    // them: a header, then longitude and latitude, '.' as decimal point.
    static std::string MissedPoints(const std::vector<Arrival>& views);

    // A KML 2.2 document with the box Google Earth reported at each centre
    // it reached, to lay beside the coverage preview: what was really seen.
    static std::string ReportedBoxes(const std::vector<Arrival>& views);
};

} // namespace tembrel
