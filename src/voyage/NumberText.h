#pragma once

#include "ExtendedMath.h"

#include <string>

namespace tembrel {

// The number text of the view file: 15 significant digits (the 18-digit
// rounding of the value rounded half up on the 16th digit), trailing zeros
// dropped, fixed notation for decimal exponents -3..15, else scientific
// ("9.99999974737875E-5"). Zero of either sign is "0".
std::string FormatNumber(Extended value, char decimalSeparator);

} // namespace tembrel
