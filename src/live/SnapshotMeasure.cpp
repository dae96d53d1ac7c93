#include "SnapshotMeasure.h"

#include <cmath>

namespace tembrel {

void SnapshotMeasure::Start(const ViewCentre& centre, double range) {
    active_ = true;
    handed_ = false;
    centre_ = centre;
    range_ = range;
}

SnapshotMeasure::Result SnapshotMeasure::Measure(const CameraReport& report) {
    double span = report.east - report.west;
    if (span < 0) {
        span += 360; // across the antimeridian
    }
    Result result;
    result.widthKm = span * 3600.0 / 37.0;
    result.heightKm = (report.north - report.south) * 3600.0 / 32.0;
    result.windowWidth = report.width;
    result.windowHeight = report.height;
    result.range = report.range;
    return result;
}

std::optional<SnapshotMeasure::Result>
SnapshotMeasure::Fetched(const CameraReport& report, const std::optional<ViewCentre>& served) {
    if (!active_) {
        return std::nullopt;
    }
    // The camera reports where it was before this fetch: it can stand at
    // the view only once a fetch before has handed it over.
    const bool handedBefore = handed_;
    handed_ = handed_ || (served && served->lon == centre_.lon && served->lat == centre_.lat);
    if (!handedBefore) {
        return std::nullopt;
    }
    // At the centre within a tenth of what it shows, at the range written
    // (within 2 %), straight down: else it is still flying, or was moved.
    double span = report.east - report.west;
    if (span < 0) {
        span += 360;
    }
    double dLon = std::fabs(report.lon - centre_.lon);
    if (dLon > 180) {
        dLon = 360 - dLon;
    }
    const bool there = dLon <= span / 10 &&
                       std::fabs(report.lat - centre_.lat) <= (report.north - report.south) / 10 &&
                       std::fabs(report.range - range_) <= range_ * 0.02 && report.tilt < 1.0;
    if (!there || span <= 0 || report.north <= report.south) {
        return std::nullopt;
    }
    active_ = false;
    return Measure(report);
}

} // namespace tembrel
