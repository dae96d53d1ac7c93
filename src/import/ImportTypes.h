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
// The lines left out are kept up to this many, with a count of the rest: a
// file of millions of bad lines must not fill the memory with reasons.
inline constexpr std::size_t MaxKeptProblems = 1000;

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

// What a file read for its points holds besides them (a KML's paths and
// polygons): what to tell a user whose file has no point.
struct OtherShapes {
    std::size_t paths = 0; // line strings, and rings outside a polygon
    std::size_t polygons = 0;
    std::size_t tracks = 0; // gx:Track, each of a gx:MultiTrack
    bool operator==(const OtherShapes&) const = default;
};

struct PointsImport {
    std::vector<ImportedPoint> points;
    OtherShapes shapes;
    std::vector<ImportProblem> problems;
    std::size_t problemsLeftOut = 0; // beyond MaxKeptProblems
    bool cancelled = false;          // the user stopped the reading
};

struct AreasImport {
    std::vector<ImportedArea> areas;
    std::vector<ImportProblem> problems;
    std::size_t problemsLeftOut = 0;
    bool cancelled = false;
};

template <class Import> void NoteProblem(Import& result, int line, std::string reason) {
    if (result.problems.size() < MaxKeptProblems) {
        result.problems.push_back({line, std::move(reason)});
    } else {
        ++result.problemsLeftOut;
    }
}

// Why a line longer than CsvLines::MaxLineBytes was left out.
inline std::string LineTooLong() {
    return "the line is longer than 65536 characters";
}

} // namespace tembrel
