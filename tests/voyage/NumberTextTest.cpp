#include "NumberText.h"
#include "ExtendedMath.h"
#include "TextConversion.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

namespace tembrel {
namespace {

struct NumberCase {
    Extended value;
    char separator;
    std::string text;
};

class FormatNumberText : public testing::TestWithParam<NumberCase> {};

TEST_P(FormatNumberText, MatchesByteForByte) {
    EXPECT_EQ(FormatNumber(GetParam().value, GetParam().separator), GetParam().text);
}

// The values the view file shows: 32-bit floats widened exactly, and integers.
INSTANTIATE_TEST_SUITE_P(
    ViewFileValues, FormatNumberText,
    testing::Values(NumberCase{48.86f, '.', "48.8600006103516"},
                    NumberCase{2.2877f, '.', "2.28769993782043"},
                    NumberCase{-122.41f, '.', "-122.410003662109"},
                    NumberCase{30.102f, '.', "30.1019992828369"}, NumberCase{30.0f, '.', "30"},
                    NumberCase{2.5f, '.', "2.5"}, NumberCase{0.05f, '.', "0.0500000007450581"},
                    NumberCase{0.0001f, '.', "9.99999974737875E-5"},
                    NumberCase{0.00001f, '.', "9.99999974737875E-6"},
                    NumberCase{-0.0001f, '.', "-9.99999974737875E-5"}, NumberCase{0.0f, '.', "0"},
                    NumberCase{-0.0f, '.', "0"}, NumberCase{250, '.', "250"},
                    NumberCase{-5, '.', "-5"}, NumberCase{1000000, '.', "1000000"},
                    NumberCase{0, '.', "0"}, NumberCase{INT32_MIN, '.', "-2147483648"},
                    NumberCase{48.859111785888671875L, '.', "48.8591117858887"},
                    NumberCase{2.2964360713958740234375L, '.', "2.29643607139587"},
                    // The regional separator goes where the full stop went.
                    NumberCase{48.86f, ',', "48,8600006103516"},
                    NumberCase{0.0001f, ',', "9,99999974737875E-5"}, NumberCase{250, ',', "250"},
                    NumberCase{30.0f, ',', "30"}));

// Where fixed notation gives way to scientific, and the rounding rule.
INSTANTIATE_TEST_SUITE_P(
    NotationAndRounding, FormatNumberText,
    testing::Values(NumberCase{0.0001L, '.', "0.0001"}, NumberCase{0.00001L, '.', "1E-5"},
                    NumberCase{0.001234L, '.', "0.001234"}, NumberCase{0.5L, '.', "0.5"},
                    NumberCase{999999999999999.0L, '.', "999999999999999"},
                    NumberCase{1e15L, '.', "1E15"}, NumberCase{-1e15L, '.', "-1E15"},
                    NumberCase{123456789012345678.0L, '.', "1.23456789012346E17"},
                    NumberCase{1e300L, '.', "1E300"}, NumberCase{1e-300L, '.', "1E-300"},
                    NumberCase{1e4000L, '.', "1E4000"}, NumberCase{1.5e-4000L, '.', "1.5E-4000"},
                    NumberCase{0x1p-16445L, '.', "3.64519953188247E-4951"},
                    // 999999999999999.5 rounds up on the 16th digit and leaves fixed notation.
                    NumberCase{999999999999999.5L, '.', "1E15"},
                    // 0.99999999999999988898: the carry runs through every digit.
                    NumberCase{0.99999999999999988897769753748434595763683319091796875L, '.', "1"},
                    NumberCase{9.9999999999999982236431605997495353221893310546875L, '.', "10"},
                    // 1.000000000000004999907 is ...500 at 18 digits, so the 16th digit
                    // rounds it up, although it lies below the 15-digit midpoint.
                    NumberCase{1 + 46116 * 0x1p-63L, '.', "1.00000000000001"},
                    // 1.000000000000004993944 stays ...499 at 18 digits and rounds down.
                    NumberCase{1 + 46061 * 0x1p-63L, '.', "1"}, NumberCase{0.1L, '.', "0.1"},
                    NumberCase{1.0L / 3, '.', "0.333333333333333"},
                    NumberCase{2.0L / 3, '.', "0.666666666666667"},
                    NumberCase{-2.0L / 3e6L, '.', "-6.66666666666667E-7"}));

TEST(FormatNumber, FloatTextConvertsBackToTheSameFloat) {
    // A spread of bit patterns over the whole finite float range, both signs.
    int checked = 0;
    for (std::uint32_t bits = 1; bits < 0x7F800000u; bits += 40009u) {
        for (const std::uint32_t sign : {0u, 0x80000000u}) {
            const float value = std::bit_cast<float>(bits | sign);
            for (const char separator : {'.', ','}) {
                const std::string text = FormatNumber(value, separator);
                ASSERT_EQ(StoreSingle(StrToFloat(text, separator)), value) << text;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 200000);
}

} // namespace
} // namespace tembrel
