#include "ExtendedMath.h"
#include "VoyageErrors.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

namespace tembrel {
namespace {

using Kind = FloatingPointError::Kind;

constexpr Extended Inf = std::numeric_limits<Extended>::infinity();
constexpr Extended NaN = std::numeric_limits<Extended>::quiet_NaN();

struct FaultCase {
    std::string name;
    std::function<void()> operation;
    Kind kind;
    const char* message;
};

class ExtendedMathFault : public testing::TestWithParam<FaultCase> {};

TEST_P(ExtendedMathFault, RaisesTheFaultWithItsMessage) {
    const FaultCase& c = GetParam();
    try {
        c.operation();
        FAIL() << "no fault raised";
    } catch (const FloatingPointError& e) {
        EXPECT_EQ(e.kind(), c.kind);
        EXPECT_STREQ(e.what(), c.message);
    }
}

constexpr const char* DivisionByZero = "Floating point division by zero";
constexpr const char* Invalid = "Invalid floating point operation";
constexpr const char* Overflow = "Floating point overflow";

INSTANTIATE_TEST_SUITE_P(
    Faults, ExtendedMathFault,
    testing::Values(
        FaultCase{"OneByZero", [] { Div(1, 0); }, Kind::DivisionByZero, DivisionByZero},
        FaultCase{"MinusOneByMinusZero", [] { Div(-1, -0.0L); }, Kind::DivisionByZero,
                  DivisionByZero},
        FaultCase{"ZeroByZero", [] { Div(0, 0); }, Kind::InvalidOperation, Invalid},
        FaultCase{"InfByInf", [] { Div(Inf, Inf); }, Kind::InvalidOperation, Invalid},
        FaultCase{"InfMinusInf", [] { Sub(Inf, Inf); }, Kind::InvalidOperation, Invalid},
        FaultCase{"InfPlusMinusInf", [] { Add(Inf, -Inf); }, Kind::InvalidOperation, Invalid},
        FaultCase{"ZeroTimesInf", [] { Mul(0, Inf); }, Kind::InvalidOperation, Invalid},
        FaultCase{"NaNOperand", [] { Add(NaN, 1); }, Kind::InvalidOperation, Invalid},
        FaultCase{"ProductTooLarge", [] { Mul(LDBL_MAX, 2); }, Kind::Overflow, Overflow},
        FaultCase{"SumTooLarge", [] { Add(LDBL_MAX, LDBL_MAX); }, Kind::Overflow, Overflow},
        FaultCase{"DifferenceTooLarge", [] { Sub(-LDBL_MAX, LDBL_MAX); }, Kind::Overflow, Overflow},
        FaultCase{"QuotientTooLarge", [] { Div(LDBL_MAX, 0.5L); }, Kind::Overflow, Overflow},
        FaultCase{"StoreAboveFloatRange", [] { StoreSingle(1e39L); }, Kind::Overflow, Overflow},
        FaultCase{"StoreBelowFloatRange", [] { StoreSingle(-1e39L); }, Kind::Overflow, Overflow},
        // FLT_MAX plus half an ulp is a tie, and the even neighbour is infinity.
        FaultCase{"StoreTieToInfinity", [] { StoreSingle(0x1p128L - 0x1p103L); }, Kind::Overflow,
                  Overflow},
        FaultCase{"StoreNaN", [] { StoreSingle(NaN); }, Kind::InvalidOperation, Invalid},
        FaultCase{"FloorAboveRange", [] { FloorToInt32(2147483648.0L); }, Kind::InvalidOperation,
                  Invalid},
        FaultCase{"FloorBelowRange", [] { FloorToInt32(-2147483648.25L); }, Kind::InvalidOperation,
                  Invalid},
        FaultCase{"FloorNaN", [] { FloorToInt32(NaN); }, Kind::InvalidOperation, Invalid},
        FaultCase{"FloorInfinity", [] { FloorToInt32(Inf); }, Kind::InvalidOperation, Invalid},
        FaultCase{"RoundTieAboveRange", [] { RoundToInt32(2147483647.5L); }, Kind::InvalidOperation,
                  Invalid},
        FaultCase{"RoundBelowRange", [] { RoundToInt32(-2147483648.75L); }, Kind::InvalidOperation,
                  Invalid},
        FaultCase{"RoundNaN", [] { RoundToInt32(NaN); }, Kind::InvalidOperation, Invalid}),
    [](const testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

TEST(ExtendedMath, UnderflowPassesSilently) {
    EXPECT_EQ(Mul(LDBL_MIN, LDBL_MIN), 0.0L);
    EXPECT_EQ(Div(LDBL_TRUE_MIN, 4), 0.0L);
    EXPECT_EQ(StoreSingle(1e-50L), 0.0f);
    // A denormal float is kept, not flushed.
    EXPECT_EQ(StoreSingle(0x1p-140L), 0x1p-140f);
}

TEST(ExtendedMath, OperationsAreExtendedPrecision) {
    // 1 + 2^-63 exists only in the 64-bit significand.
    EXPECT_EQ(Sub(Add(1, 0x1p-63L), 1), 0x1p-63L);
    EXPECT_EQ(Mul(3, 0x1p-64L), 0x3p-64L);
    // 0.9 / 0.3 in extended precision is just below 3, and stays there.
    EXPECT_LT(Div(0.9L, 0.3L), 3.0L);
}

struct StoreCase {
    Extended value;
    float stored;
};

class StoreSingleRounding : public testing::TestWithParam<StoreCase> {};

TEST_P(StoreSingleRounding, RoundsToNearestTiesToEven) {
    EXPECT_EQ(StoreSingle(GetParam().value), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Values, StoreSingleRounding,
                         testing::Values(StoreCase{1 + 0x1p-24L, 1.0f},         // tie, down to even
                                         StoreCase{1 + 0x3p-24L, 1 + 0x1p-22f}, // tie, up to even
                                         StoreCase{1 + 0x1p-24L + 0x1p-60L,
                                                   1 + 0x1p-23f}, // just above the tie
                                         StoreCase{0x1p128L - 0x1p103L - 0x1p80L, FLT_MAX},
                                         StoreCase{-(0x1p128L - 0x1p103L - 0x1p80L), -FLT_MAX},
                                         StoreCase{48.86L, 48.86f}, StoreCase{-0.0L, -0.0f}));

struct IntCase {
    Extended value;
    std::int32_t result;
};

class FloorToInt32Values : public testing::TestWithParam<IntCase> {};

TEST_P(FloorToInt32Values, IsTheGreatestIntegerNotAbove) {
    EXPECT_EQ(FloorToInt32(GetParam().value), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Values, FloorToInt32Values,
                         testing::Values(IntCase{2.5L, 2}, IntCase{-2.5L, -3}, IntCase{3, 3},
                                         IntCase{-0.0L, 0}, IntCase{2.99999999999999999978L, 2},
                                         IntCase{-0.000001L, -1},
                                         IntCase{2147483647.999L, 2147483647},
                                         IntCase{-2147483648.0L, INT32_MIN}));

class RoundToInt32Values : public testing::TestWithParam<IntCase> {};

TEST_P(RoundToInt32Values, IsTheNearestWithTiesToEven) {
    EXPECT_EQ(RoundToInt32(GetParam().value), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Values, RoundToInt32Values,
                         testing::Values(IntCase{0.5L, 0}, IntCase{1.5L, 2}, IntCase{2.5L, 2},
                                         IntCase{3.5L, 4}, IntCase{-0.5L, 0}, IntCase{-1.5L, -2},
                                         IntCase{-2.5L, -2}, IntCase{2.5L - 0x1p-62L, 2},
                                         IntCase{2.5L + 0x1p-62L, 3}, IntCase{-2.7L, -3},
                                         IntCase{2147483646.5L, 2147483646},
                                         IntCase{2147483647.25L, INT32_MAX},
                                         // The tie below the range rounds to the even end of it.
                                         IntCase{-2147483648.5L, INT32_MIN}));

struct ProductCase {
    std::int32_t a;
    std::int32_t b;
    bool fits;
    std::int32_t product;
};

class CheckedMul32Values : public testing::TestWithParam<ProductCase> {};

TEST_P(CheckedMul32Values, MultipliesOrRefusesToWrap) {
    const ProductCase& c = GetParam();
    if (c.fits) {
        EXPECT_EQ(CheckedMul32(c.a, c.b), c.product);
    } else {
        try {
            CheckedMul32(c.a, c.b);
            FAIL() << "no overflow raised";
        } catch (const IntegerOverflowError& e) {
            EXPECT_STREQ(e.what(), "Integer overflow");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, CheckedMul32Values,
    testing::Values(ProductCase{3, 2, true, 6}, ProductCase{-4, 2, true, -8},
                    ProductCase{46340, 46341, true, 2147441940},
                    ProductCase{-65536, 32768, true, INT32_MIN}, ProductCase{0, INT32_MIN, true, 0},
                    ProductCase{46341, 46341, false, 0}, ProductCase{65536, 32768, false, 0},
                    ProductCase{-1, INT32_MIN, false, 0}, ProductCase{100000, 100000, false, 0}));

TEST(ExtendedMath, ScaleConstantsAreRoundedOnceToExtended) {
    // Both lie in [2^-7, 2^-6), so their significands are K * 2^70; each must
    // be n * 2^70 / 3600 rounded to the nearest integer.
    for (const auto& [constant, seconds] : {std::pair{K32, 32u}, std::pair{K37, 37u}}) {
        const unsigned __int128 scaled = static_cast<unsigned __int128>(seconds) << 70;
        const unsigned __int128 quotient = scaled / 3600;
        const unsigned __int128 nearest = quotient + ((scaled % 3600) * 2 > 3600 ? 1 : 0);
        const auto significand = static_cast<unsigned long long>(std::ldexp(constant, 70));
        EXPECT_EQ(std::ldexp(static_cast<Extended>(significand), -70), constant);
        EXPECT_EQ(significand, static_cast<unsigned long long>(nearest)) << seconds;
    }
}

} // namespace
} // namespace tembrel
