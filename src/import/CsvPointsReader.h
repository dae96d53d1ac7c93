#pragma once

#include "CsvColumns.h"
#include "CsvLines.h"
#include "ImportTypes.h"

#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>

namespace tembrel {

// Points from a CSV text: longitude then latitude in degrees, one point a
// line; a header line (whose names may put latitude first) and further
// columns are tolerated, and comma, tab or semicolon separate the fields.
// Lines that hold no such point are reported with their numbers. The text
// may come in chunks; the reading stops at the first point beyond maxPoints.
class CsvPointsReader {
public:
    CsvPointsReader(const CsvPointsReader&) = delete;
    CsvPointsReader& operator=(const CsvPointsReader&) = delete;
    explicit CsvPointsReader(std::size_t maxPoints = std::numeric_limits<std::size_t>::max());

    // False once the limit is passed: feed no more.
    bool Feed(std::string_view chunk);
    PointsImport Finish();

    static PointsImport Read(std::string_view text);

private:
    bool OnLine(const CsvLines::Line& line);

    std::size_t maxPoints_;
    CsvLineStream stream_;
    std::optional<CsvColumns> columns_;
    PointsImport result_;
};

} // namespace tembrel
