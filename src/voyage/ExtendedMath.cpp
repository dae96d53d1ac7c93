#include "ExtendedMath.h"

#include "VoyageErrors.h"

#include <cmath>

namespace tembrel {

namespace {

using Kind = FloatingPointError::Kind;

constexpr Extended Int32Min = -2147483648.0L;
constexpr Extended Int32Max = 2147483647.0L;
constexpr Extended FloatOverflowThreshold = 0x1p128L - 0x1p103L;

// Faults are detected from the operands and the result rather than from the
// floating-point environment, so that they do not depend on trap settings.
Extended Checked(Extended result, Extended a, Extended b) {
    if (std::isnan(result)) {
        throw FloatingPointError(Kind::InvalidOperation);
    }
    if (std::isinf(result) && std::isfinite(a) && std::isfinite(b)) {
        throw FloatingPointError(Kind::Overflow);
    }
    return result;
}

std::int32_t ToInt32(Extended whole) {
    if (!(whole >= Int32Min && whole <= Int32Max)) {
        throw FloatingPointError(Kind::InvalidOperation);
    }
    return static_cast<std::int32_t>(whole);
}

} // namespace

Extended Add(Extended a, Extended b) {
    return Checked(a + b, a, b);
}

Extended Sub(Extended a, Extended b) {
    return Checked(a - b, a, b);
}

Extended Mul(Extended a, Extended b) {
    return Checked(a * b, a, b);
}

Extended Div(Extended a, Extended b) {
    if (b == 0) {
        if (a == 0 || std::isnan(a)) {
            throw FloatingPointError(Kind::InvalidOperation);
        }
        throw FloatingPointError(Kind::DivisionByZero);
    }
    return Checked(a / b, a, b);
}

float StoreSingle(Extended value) {
    if (std::isnan(value)) {
        throw FloatingPointError(Kind::InvalidOperation);
    }
    if (std::isinf(value)) {
        return static_cast<float>(value);
    }
    // From FLT_MAX plus half an ulp upwards the nearest float is infinity (the
    // tie goes to the even side, which is infinity too).
    if (std::fabs(value) >= FloatOverflowThreshold) {
        throw FloatingPointError(Kind::Overflow);
    }
    return static_cast<float>(value);
}

std::int32_t FloorToInt32(Extended value) {
    if (std::isnan(value)) {
        throw FloatingPointError(Kind::InvalidOperation);
    }
    return ToInt32(std::floor(value));
}

std::int32_t RoundToInt32(Extended value) {
    if (!std::isfinite(value)) {
        throw FloatingPointError(Kind::InvalidOperation);
    }
    // The fraction v - floor(v) is exact, so the tie test is exact too.
    Extended whole = std::floor(value);
    const Extended fraction = value - whole;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0)) {
        whole += 1;
    }
    return ToInt32(whole);
}

std::int32_t CheckedMul32(std::int32_t a, std::int32_t b) {
    std::int32_t product = 0;
    if (__builtin_mul_overflow(a, b, &product)) {
        throw IntegerOverflowError();
    }
    return product;
}

} // namespace tembrel
