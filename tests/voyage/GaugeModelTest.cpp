#include "GaugeModel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

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

} // namespace
} // namespace tembrel
