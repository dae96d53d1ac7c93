#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tembrel {

// Where Google Earth's camera was when it fetched the view: the query its
// network link appends from the link's viewFormat,
//   lon=..&lat=..&range=..&tilt=..&heading=..&bbox=W,S,E,N&w=..&h=..
// Degrees and metres, '.' as the decimal point whatever the region.
struct CameraReport {
    double lon = 0;
    double lat = 0;
    double range = 0;
    double tilt = 0;
    double heading = 0;
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;
    int width = 0; // window pixels
    int height = 0;
};

// The longest query read; Google Earth's is about 200 characters.
inline constexpr std::size_t MaxReportQuery = 1024;

// The report in a query (the part after '?'), or nothing when any of the
// eight values is missing, repeated, not a plain number or out of range, or
// the query is longer than MaxReportQuery. Other keys are ignored.
std::optional<CameraReport> ParseCameraReport(std::string_view query);

} // namespace tembrel
