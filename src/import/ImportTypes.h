#pragma once

#include "ExtendedMath.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tembrel {

// What the importers read from a file, and what they could not read.

// A points voyage counts its memo lines up to 32767, and the grid has 50
// rows: files beyond these are refused whole.
inline constexpr std::size_t MaxImportedPoints = 32767;
inline constexpr std::size_t MaxImportedAreas = 50;

// A line of the file that was left out, and why.
struct ImportProblem {
    int line = 0; // 1-based line of the file
    std::string reason;
    bool operator==(const ImportProblem&) const = default;
};

struct ImportedPoint {
    Extended longitude = 0; // degrees, east positive
    Extended latitude = 0;  // degrees, north positive
    int line = 0;
    bool operator==(const ImportedPoint&) const = default;
};

struct ImportedArea {
    Extended latitude = 0;  // north-west corner, degrees
    Extended longitude = 0; // north-west corner, degrees
    Extended width = 0;     // km to the East
    Extended height = 0;    // km to the South
    int line = 0;
    bool operator==(const ImportedArea&) const = default;
};

struct PointsImport {
    std::vector<ImportedPoint> points;
    std::vector<ImportProblem> problems;
};

struct AreasImport {
    std::vector<ImportedArea> areas;
    std::vector<ImportProblem> problems;
};

} // namespace tembrel
