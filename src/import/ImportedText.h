#pragma once

#include "ImportTypes.h"

#include <array>
#include <string>

namespace tembrel {

// Imported values as the program's own inputs hold them: the view file's
// number text (15 significant digits) with the regional decimal separator.
class ImportedText {
public:
    // A memo line "LON, LAT". The point search splits a line at its first
    // comma, so where the decimal separator is itself a comma the longitude
    // is written without one, as digits and an exponent ("30102E-3" for
    // 30.102), which the conversion reads back to the same value.
    static std::string MemoLine(const ImportedPoint& point, char decimalSeparator);

    // The four grid cells: latitude, longitude, width, height.
    static std::array<std::string, 4> GridRow(const ImportedArea& area, char decimalSeparator);

    // A number text without its decimal separator: "-25,365" gives
    // "-25365E-3", "9,9E-5" gives "99E-6", "0,05" gives "5E-2", "30" stays.
    static std::string WithoutSeparator(const std::string& text, char decimalSeparator);
};

} // namespace tembrel
