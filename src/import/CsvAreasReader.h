#pragma once

#include "ImportTypes.h"

#include <string_view>

namespace tembrel {

// Areas from a CSV text, one a line: the north-west corner's latitude and
// longitude in degrees, then the width and height in km, as the grid's
// columns hold them. A header line (whose names may order the columns
// otherwise) and further columns are tolerated; comma, tab or semicolon
// separate the fields. Sizes must be above 0: a negative one would send the
// voyage away from the area for ever.
class CsvAreasReader {
public:
    static AreasImport Read(std::string_view text);
};

} // namespace tembrel
