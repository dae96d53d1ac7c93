#pragma once

#include "ExtendedMath.h"

#include <optional>
#include <string>
#include <string_view>

namespace tembrel {

// Numbers and coordinates as files write them, whatever the regional
// settings: "." is the decimal point. Where a file separates its fields with
// tabs or semicolons, its numbers may use "," instead (spreadsheets of
// regions with a decimal comma write them so).
class ImportNumbers {
public:
    static std::optional<Extended> Parse(std::string_view text, bool decimalCommaAllowed);

    // Empty when the value is a latitude (or longitude), else why not:
    // "latitude 95 is outside -90 to 90".
    static std::string LatitudeProblem(Extended latitude);
    static std::string LongitudeProblem(Extended longitude);
    // Empty when a size in km is above 0: "width -1 is not above 0".
    static std::string SizeProblem(const char* what, Extended km);

    // "'abc'" quoted for a message, cut short when long.
    static std::string Quoted(std::string_view text);
};

} // namespace tembrel
