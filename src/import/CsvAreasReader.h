#pragma once

#include "CsvColumns.h"
#include "CsvLines.h"
#include "ImportTypes.h"

#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>

namespace tembrel {

// Areas from a CSV text, one a line: the north-west corner's latitude and
// longitude in degrees, then the width and height in km, as the grid's
// columns hold them. A header line (whose names may order the columns
// otherwise) and further columns are tolerated; comma, tab or semicolon
// separate the fields. Sizes must be above 0: a negative one would send the
// voyage away from the area for ever. The text may come in chunks; the
// reading stops at the first area beyond maxAreas.
class CsvAreasReader {
public:
    CsvAreasReader(const CsvAreasReader&) = delete;
    CsvAreasReader& operator=(const CsvAreasReader&) = delete;
    explicit CsvAreasReader(std::size_t maxAreas = std::numeric_limits<std::size_t>::max());

    // False once the limit is passed: feed no more.
    bool Feed(std::string_view chunk);
    AreasImport Finish();

    static AreasImport Read(std::string_view text);

private:
    bool OnLine(const CsvLines::Line& line);

    std::size_t maxAreas_;
    CsvLineStream stream_;
    std::optional<CsvColumns> columns_;
    AreasImport result_;
};

} // namespace tembrel
