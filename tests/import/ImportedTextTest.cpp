// Imported values written as the memo and the grid hold them, and read back
// by the voyage's own conversion to the same 32-bit floats.
#include "ImportedText.h"

#include "ExtendedMath.h"
#include "TextConversion.h"

#include <gtest/gtest.h>

#include <string>

namespace tembrel {
namespace {

struct MemoCase {
    const char* name;
    long double lon;
    long double lat;
    char separator;
    const char* line;
};

void PrintTo(const MemoCase& c, std::ostream* out) {
    *out << c.name;
}

class MemoLine : public ::testing::TestWithParam<MemoCase> {};

TEST_P(MemoLine, TextAndReadBack) {
    const MemoCase& c = GetParam();
    const std::string line = ImportedText::MemoLine({c.lon, c.lat, 1}, c.separator);
    EXPECT_EQ(line, c.line);
    // As the point search reads it: split at the first comma.
    const std::size_t comma = line.find(',');
    ASSERT_NE(comma, std::string::npos);
    EXPECT_EQ(StoreSingle(StrToFloat(std::string_view(line).substr(0, comma), c.separator)),
              StoreSingle(c.lon));
    EXPECT_EQ(StoreSingle(StrToFloat(std::string_view(line).substr(comma + 1), c.separator)),
              StoreSingle(c.lat));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MemoLine,
    ::testing::Values(MemoCase{"example", 30.102L, 31.215L, '.', "30.102, 31.215"},
                      MemoCase{"negative", -25.365L, 16.2145L, '.', "-25.365, 16.2145"},
                      MemoCase{"whole", 30, -5, '.', "30, -5"},
                      MemoCase{"tiny", 0.00001L, 0, '.', "1E-5, 0"},
                      MemoCase{"many_digits", 2.28769993782043457L, 48.8600006103515625L, '.',
                               "2.28769993782043, 48.8600006103516"},
                      // With a decimal comma the longitude goes without a separator.
                      MemoCase{"comma_example", 30.102L, 31.215L, ',', "30102E-3, 31,215"},
                      MemoCase{"comma_negative", -25.365L, 16.2145L, ',', "-25365E-3, 16,2145"},
                      MemoCase{"comma_whole", 30, 31.5L, ',', "30, 31,5"},
                      MemoCase{"comma_below_one", 0.05L, 1, ',', "5E-2, 1"},
                      MemoCase{"comma_tiny", -0.0000999L, 1, ',', "-999E-7, 1"}));

struct SeparatorCase {
    const char* text;
    const char* without;
};

class WithoutSeparator : public ::testing::TestWithParam<SeparatorCase> {};

TEST_P(WithoutSeparator, Text) {
    EXPECT_EQ(ImportedText::WithoutSeparator(GetParam().text, ','), GetParam().without);
}

INSTANTIATE_TEST_SUITE_P(Cases, WithoutSeparator,
                         ::testing::Values(SeparatorCase{"30", "30"}, SeparatorCase{"0", "0"},
                                           SeparatorCase{"-25,365", "-25365E-3"},
                                           SeparatorCase{"0,05", "5E-2"},
                                           SeparatorCase{"9,9E-5", "99E-6"},
                                           SeparatorCase{"1,5E20", "15E19"},
                                           SeparatorCase{"1E-5", "1E-5"}));

TEST(GridRow, CellsWithTheRegionalSeparator) {
    const ImportedArea area{48.86L, 2.2877L, 1, 0.4L, 1};
    EXPECT_EQ(ImportedText::GridRow(area, '.'),
              (std::array<std::string, 4>{"48.86", "2.2877", "1", "0.4"}));
    EXPECT_EQ(ImportedText::GridRow(area, ','),
              (std::array<std::string, 4>{"48,86", "2,2877", "1", "0,4"}));
}

} // namespace
} // namespace tembrel
