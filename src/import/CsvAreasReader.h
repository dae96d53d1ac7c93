#pragma once

#include "CsvNumberLines.h"
#include "ImportTypes.h"

#include <cstddef>
#include <limits>
#include <string_view>
#include <vector>

namespace tembrel {

// Areas from a CSV text, one a line: the north-west corner's latitude and
// longitude in degrees, then the width and height in km, as the grid's
// columns hold them. A header line (whose names may order the columns
// otherwise) and further columns are tolerated; comma, tab or semicolon
// separate the fields. Sizes must be above 0: a negative one would send the
// voyage away from the area for ever. The text may come in chunks; the
// reading stops at the first area beyond maxAreas.
class CsvAreasReader final : public CsvNumberLines {
public:
    explicit CsvAreasReader(std::size_t maxAreas = std::numeric_limits<std::size_t>::max());

    AreasImport Finish();

    static AreasImport Read(std::string_view text);

private:
    bool Take(const std::vector<Extended>& values, int line) override;
    void Refuse(int line, std::string reason) override {
        NoteProblem(result_, line, std::move(reason));
    }

    std::size_t maxAreas_;
    AreasImport result_;
};

} // namespace tembrel
