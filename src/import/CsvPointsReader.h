#pragma once

#include "ImportTypes.h"

#include <string_view>

namespace tembrel {

// Points from a CSV text: longitude then latitude in degrees, one point a
// line; a header line (whose names may put latitude first) and further
// columns are tolerated, and comma, tab or semicolon separate the fields.
// Lines that hold no such point are reported with their numbers.
class CsvPointsReader {
public:
    static PointsImport Read(std::string_view text);
};

} // namespace tembrel
