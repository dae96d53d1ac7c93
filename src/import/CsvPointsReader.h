#pragma once

#include "CsvNumberLines.h"
#include "ImportTypes.h"

#include <cstddef>
#include <limits>
#include <string_view>
#include <vector>

namespace tembrel {

// Points from a CSV text: longitude then latitude in degrees, one point a
// line; a header line (whose names may put latitude first) and further
// columns are tolerated, and comma, tab or semicolon separate the fields.
// Lines that hold no such point are reported with their numbers. The text
// may come in chunks; the reading stops at the first point beyond maxPoints.
class CsvPointsReader final : public CsvNumberLines {
public:
    explicit CsvPointsReader(std::size_t maxPoints = std::numeric_limits<std::size_t>::max());

    PointsImport Finish();

    static PointsImport Read(std::string_view text);

private:
    bool Take(const std::vector<Extended>& values, int line) override;
    void Refuse(int line, std::string reason) override {
        NoteProblem(result_, line, std::move(reason));
    }

    std::size_t maxPoints_;
    PointsImport result_;
};

} // namespace tembrel
