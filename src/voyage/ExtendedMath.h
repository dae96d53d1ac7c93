#pragma once

#include <cfloat>
#include <cstdint>

namespace tembrel {

// The voyage arithmetic is done in x87 extended precision: a 64-bit
// significand, each operation rounded to nearest with ties to even.
using Extended = long double;
static_assert(LDBL_MANT_DIG == 64, "Tembrel needs the x87 80-bit long double");

// Checked operations: each raises FloatingPointError on division by zero, an
// invalid operation (0/0, inf-inf, NaN) or an overflow to infinity. Underflow
// and inexact results pass silently.
Extended Add(Extended a, Extended b);
Extended Sub(Extended a, Extended b);
Extended Mul(Extended a, Extended b);
Extended Div(Extended a, Extended b);

// Rounds to the 32-bit float of a VoyageState field (nearest, ties to even);
// a finite value beyond the float range is an overflow.
float StoreSingle(Extended value);

// Greatest integer not above value; invalid operation when it does not fit
// in 32 signed bits (or value is NaN).
std::int32_t FloorToInt32(Extended value);

// Nearest integer, ties to even; invalid operation when it does not fit.
std::int32_t RoundToInt32(Extended value);

// 32-bit signed product that raises IntegerOverflowError instead of wrapping.
std::int32_t CheckedMul32(std::int32_t a, std::int32_t b);

// The geometry's fixed scale: 1 km is 32/3600 degree of latitude and 37/3600
// degree of longitude. These two are the constants rounded once to extended.
inline constexpr Extended K32 = 32.0L / 3600.0L;
inline constexpr Extended K37 = 37.0L / 3600.0L;

} // namespace tembrel
