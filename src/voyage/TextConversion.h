#pragma once

#include "ExtendedMath.h"

#include <cstdint>
#include <string_view>

namespace tembrel {

// Text to extended real: leading and trailing spaces (not tabs), an optional
// sign, digits, optionally the decimal separator and digits, optionally an
// exponent. At least one digit or the separator must appear ("." is 0).
// Correctly rounded; independent of the process locale. Anything else raises
// ConversionError "'<text>' is not a valid floating point value".
Extended StrToFloat(std::string_view text, char decimalSeparator);

// Text to 32-bit integer: leading spaces, then a signed decimal number within
// the 32-bit range, or "$", "x", "X", "0x", "0X" and one to eight hex digits
// (above 7FFFFFFF wrapping to negative). Nothing may follow. Anything else
// raises ConversionError "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);

} // namespace tembrel
