#include "GaugeModel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace tembrel {
namespace {

struct ClampCase {
    std::int64_t progress;
    std::int64_t clamped;
};

class ClampProgressValues : public testing::TestWithParam<ClampCase> {};

TEST_P(ClampProgressValues, StayWithinTheGauge) {
    EXPECT_EQ(ClampProgress(GetParam().progress), GetParam().clamped);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ClampProgressValues,
    testing::Values(ClampCase{0, 0}, ClampCase{1, 1}, ClampCase{-1, 0},
                    ClampCase{166666666, 166666666}, ClampCase{999999999, 999999999},
                    ClampCase{1000000000, 1000000000}, ClampCase{1000000001, 1000000000},
                    ClampCase{std::numeric_limits<std::int64_t>::max(), 1000000000},
                    ClampCase{std::numeric_limits<std::int64_t>::min(), 0}));

struct TextCase {
    std::int64_t progress;
    std::string text;
};

class GaugeTextValues : public testing::TestWithParam<TextCase> {};

TEST_P(GaugeTextValues, ShowTheTruncatedPercentage) {
    EXPECT_EQ(GaugeText(GetParam().progress), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GaugeTextValues,
    testing::Values(TextCase{0, "0%"}, TextCase{9999999, "0%"}, TextCase{10000000, "1%"},
                    TextCase{166666666, "16%"}, TextCase{500000000, "50%"},
                    TextCase{999999999, "99%"}, TextCase{1000000000, "100%"},
                    TextCase{2000000000, "100%"}, TextCase{-5, "0%"},
                    TextCase{std::numeric_limits<std::int64_t>::max(), "100%"}));

} // namespace
} // namespace tembrel
