#include "TextConversion.h"
#include "VoyageErrors.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <ostream>
#include <string>

namespace tembrel {
namespace {

struct RealCase {
    std::string text;
    char separator;
    Extended value;
};

void PrintTo(const RealCase& c, std::ostream* out) {
    *out << '"' << c.text << "\" with '" << c.separator << "'";
}

class StrToFloatAccepts : public testing::TestWithParam<RealCase> {};

TEST_P(StrToFloatAccepts, ConvertsCorrectlyRounded) {
    const RealCase& c = GetParam();
    const Extended value = StrToFloat(c.text, c.separator);
    EXPECT_EQ(value, c.value) << '"' << c.text << '"';
    EXPECT_EQ(std::signbit(value), std::signbit(c.value)) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, StrToFloatAccepts,
    testing::Values(
        RealCase{"48.86", '.', 48.86L}, RealCase{"0.9", '.', 0.9L}, RealCase{"0.3", '.', 0.3L},
        RealCase{"-122.41", '.', -122.41L}, RealCase{"+2.5", '.', 2.5L}, RealCase{"   5", '.', 5},
        RealCase{"5   ", '.', 5}, RealCase{"  -0.25  ", '.', -0.25L}, RealCase{".", '.', 0},
        RealCase{"5.", '.', 5}, RealCase{".5", '.', 0.5L}, RealCase{"-.", '.', -0.0L},
        RealCase{"-0", '.', -0.0L}, RealCase{"1E3", '.', 1000}, RealCase{"1e3", '.', 1000},
        RealCase{"2.5E+2", '.', 250}, RealCase{"25e-1", '.', 2.5L}, RealCase{".E5", '.', 0},
        RealCase{"5.e1", '.', 50}, RealCase{"0012.50", '.', 12.5L},
        RealCase{"1e0000000000000000000003", '.', 1000},
        RealCase{"0.10000000000000000000000000000000000000001", '.', 0.1L},
        // The separator is the one passed in.
        RealCase{"1,5", ',', 1.5L}, RealCase{"48,86", ',', 48.86L}, RealCase{",", ',', 0},
        RealCase{"-3,25E1", ',', -32.5L},
        // 1 + 2^-64 is a tie between 1 and 1 + 2^-63: to even, down.
        RealCase{"1.0000000000000000000542101086242752217003726400434970855712890625", '.', 1},
        RealCase{"1.00000000000000000005421010862427522170037264004349708557128906251", '.',
                 1 + 0x1p-63L},
        // 1 + 3 * 2^-64: a tie up to even.
        RealCase{"1.0000000000000000001626303258728256651011179201304912567138671875", '.',
                 1 + 0x1p-62L},
        // The extremes of the extended range; underflow passes silently.
        RealCase{"1.18973149535723176502e+4932", '.', LDBL_MAX},
        RealCase{"3.3621031431120935063e-4932", '.', LDBL_MIN}, RealCase{"1e-4940", '.', 1e-4940L},
        RealCase{"3.7e-4951", '.', LDBL_TRUE_MIN}, RealCase{"1e-5000", '.', 0},
        RealCase{"-1e-99999999999", '.', -0.0L}));

struct RefusedCase {
    std::string text;
    char separator;
};

void PrintTo(const RefusedCase& c, std::ostream* out) {
    *out << '"' << c.text << "\" with '" << c.separator << "'";
}

class StrToFloatRefuses : public testing::TestWithParam<RefusedCase> {};

TEST_P(StrToFloatRefuses, WithTheTextExactlyAsPassed) {
    const RefusedCase& c = GetParam();
    try {
        StrToFloat(c.text, c.separator);
        FAIL() << '"' << c.text << "\" accepted";
    } catch (const ConversionError& e) {
        const std::string message = "'" + c.text + "' is not a valid floating point value";
        // what() ends at a NUL within the text.
        EXPECT_STREQ(e.what(), message.c_str());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, StrToFloatRefuses,
    testing::Values(RefusedCase{"", '.'}, RefusedCase{"   ", '.'}, RefusedCase{"-", '.'},
                    RefusedCase{"+", '.'}, RefusedCase{"E5", '.'}, RefusedCase{"e5", '.'},
                    RefusedCase{"-E5", '.'}, RefusedCase{"1,5", '.'}, RefusedCase{"1.5", ','},
                    RefusedCase{"1 000", '.'}, RefusedCase{"  1 000 ", '.'},
                    RefusedCase{"\t5", '.'}, RefusedCase{"5\t", '.'}, RefusedCase{"5\n", '.'},
                    RefusedCase{"1e", '.'}, RefusedCase{"1e+", '.'}, RefusedCase{"1E-", '.'},
                    RefusedCase{"1e 5", '.'}, RefusedCase{"--1", '.'}, RefusedCase{"+-1", '.'},
                    RefusedCase{"- 1", '.'}, RefusedCase{"1.5.", '.'}, RefusedCase{"1..5", '.'},
                    RefusedCase{"1e5.5", '.'}, RefusedCase{"1e5e5", '.'}, RefusedCase{"0x10", '.'},
                    RefusedCase{"$10", '.'}, RefusedCase{"inf", '.'}, RefusedCase{"nan", '.'},
                    RefusedCase{"1_000", '.'}, RefusedCase{std::string("5\0", 2), '.'},
                    // Beyond the extended range.
                    RefusedCase{"1.2e4932", '.'}, RefusedCase{"-1e99999", '.'},
                    RefusedCase{"1e99999999999999999999", '.'}));

struct IntegerCase {
    std::string text;
    std::int32_t value;
};

class StrToIntAccepts : public testing::TestWithParam<IntegerCase> {};

TEST_P(StrToIntAccepts, Converts) {
    EXPECT_EQ(StrToInt(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, StrToIntAccepts,
    testing::Values(IntegerCase{"0", 0}, IntegerCase{"250", 250}, IntegerCase{"   250", 250},
                    IntegerCase{"+7", 7}, IntegerCase{"-5", -5}, IntegerCase{"-0", 0},
                    IntegerCase{"0000000042", 42}, IntegerCase{"2147483647", INT32_MAX},
                    IntegerCase{"-2147483648", INT32_MIN},
                    IntegerCase{"000000000002147483647", INT32_MAX}, IntegerCase{"$FF", 255},
                    IntegerCase{"x1f", 31}, IntegerCase{"X1F", 31}, IntegerCase{"0x10", 16},
                    IntegerCase{"0XaB", 171}, IntegerCase{"  $10", 16}, IntegerCase{"$00000001", 1},
                    IntegerCase{"$7FFFFFFF", INT32_MAX},
                    // Eight hex digits above 7FFFFFFF wrap to negative.
                    IntegerCase{"$80000000", INT32_MIN}, IntegerCase{"0xFFFFFFFF", -1},
                    IntegerCase{"$FFFFFF06", -250}));

class StrToIntRefuses : public testing::TestWithParam<std::string> {};

TEST_P(StrToIntRefuses, WithTheTextExactlyAsPassed) {
    const std::string& text = GetParam();
    try {
        StrToInt(text);
        FAIL() << '"' << text << "\" accepted";
    } catch (const ConversionError& e) {
        const std::string message = "'" + text + "' is not a valid integer value";
        EXPECT_STREQ(e.what(), message.c_str());
    }
}

INSTANTIATE_TEST_SUITE_P(Grammar, StrToIntRefuses,
                         testing::Values("", " ", "12 ", "1.5", "250.5", "1e3", "+", "-", "- 5",
                                         "--5", "5a", "\t5", "2147483648", "-2147483649",
                                         "99999999999999999999", "$", "x", "0x", "$123456789",
                                         "-$10", "+0x10", "0x-1", "$G", "0x 1", "$ff ", "0b1",
                                         std::string("7\0", 2)));

} // namespace
} // namespace tembrel
