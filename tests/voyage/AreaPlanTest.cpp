#include "AreaPlan.h"
#include "NumberText.h"
#include "VoyageErrors.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <typeinfo>

namespace tembrel {
namespace {

// The help's example: 1 km x 0.4 km at 48.86, 2.2877 in 0.3 km x 0.2 km
// snapshots from 250 m.
AreaTexts HelpExample() {
    return AreaTexts{"48.86", "2.2877", "1", "0.4", "0.3", "0.2", "250"};
}

TEST(PlanArea, HelpExampleGivesEveryFieldBitExactly) {
    VoyageState state;
    PlanArea(state, HelpExample(), '.');

    // Each expected value is the exact value of the stored float.
    EXPECT_EQ(static_cast<long double>(state.CurLat), 48.859111785888671875L);
    EXPECT_EQ(static_cast<long double>(state.CurLon), 2.2892415523529052734375L);
    EXPECT_EQ(static_cast<long double>(state.RowStartLon), 2.2892415523529052734375L);
    EXPECT_EQ(static_cast<long double>(state.EndLat), 48.857334136962890625L);
    EXPECT_EQ(static_cast<long double>(state.EndLon), 2.2964360713958740234375L);
    EXPECT_EQ(state.Range, 250);
    EXPECT_EQ(state.SnapshotCount, 6);

    EXPECT_EQ(FormatNumber(state.CurLat, '.'), "48.8591117858887");
    EXPECT_EQ(FormatNumber(state.CurLon, '.'), "2.28924155235291");
    EXPECT_EQ(FormatNumber(state.EndLat, '.'), "48.8573341369629");
    EXPECT_EQ(FormatNumber(state.EndLon, '.'), "2.29643607139587");
}

TEST(PlanArea, LeavesTheOtherFieldsAlone) {
    VoyageState state;
    state.ItemNo = 3;
    state.ItemIdx = 2;
    state.CommaPos = 5;
    state.PointLine = "1,2";
    state.AreasDone = true;
    state.Paused = true;
    state.InProgress = true;
    PlanArea(state, HelpExample(), '.');
    EXPECT_EQ(state.ItemNo, 3);
    EXPECT_EQ(state.ItemIdx, 2);
    EXPECT_EQ(state.CommaPos, 5);
    EXPECT_EQ(state.PointLine, "1,2");
    EXPECT_TRUE(state.AreasDone);
    EXPECT_TRUE(state.Paused);
    EXPECT_TRUE(state.InProgress);
}

TEST(PlanArea, CommaSeparatorPlansTheSameArea) {
    VoyageState withStop;
    PlanArea(withStop, HelpExample(), '.');
    VoyageState withComma;
    PlanArea(withComma, {"48,86", "2,2877", "1", "0,4", "0,3", "0,2", "250"}, ',');
    EXPECT_EQ(withComma.CurLat, withStop.CurLat);
    EXPECT_EQ(withComma.CurLon, withStop.CurLon);
    EXPECT_EQ(withComma.EndLat, withStop.EndLat);
    EXPECT_EQ(withComma.EndLon, withStop.EndLon);
    EXPECT_EQ(withComma.SnapshotCount, withStop.SnapshotCount);
}

struct CountCase {
    std::string name;
    AreaTexts texts;
    std::int32_t snapshotCount;
};

class PlanAreaCount : public testing::TestWithParam<CountCase> {};

TEST_P(PlanAreaCount, CountsColumnsTimesRows) {
    VoyageState state;
    PlanArea(state, GetParam().texts, '.');
    EXPECT_EQ(state.SnapshotCount, GetParam().snapshotCount);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, PlanAreaCount,
    testing::Values(
        CountCase{"HelpExample", HelpExample(), 6},
        // 0.9 / 0.3 is just below 3 in extended precision: 2 columns, no tolerance.
        CountCase{"NinetyByThirty", {"48.86", "2.2877", "0.9", "0.4", "0.3", "0.2", "250"}, 4},
        // 9.4 / 0.2 is just below 47: 4 x 46.
        CountCase{"Corner31", {"31.55125", "29.79862", "1.2", "9.4", "0.3", "0.2", "250"}, 184},
        CountCase{"NarrowerThanSnapshot", {"10", "10", "0.2", "0.4", "0.3", "0.2", "250"}, 0},
        CountCase{"LowerThanSnapshot", {"10", "10", "1", "0.1", "0.3", "0.2", "250"}, 0},
        // A negative quotient floors away from zero and keeps its sign.
        CountCase{"NegativeAreaWidth", {"10", "10", "-1", "0.4", "0.3", "0.2", "250"}, -8},
        CountCase{"NegativeSnapshotWidth", {"10", "10", "1", "0.4", "-0.3", "0.2", "250"}, -8},
        CountCase{"BothNegative", {"10", "10", "-1", "-0.4", "0.3", "0.2", "250"}, 8},
        CountCase{
            "LargestCountThatFits", {"0", "0", "46340", "46341", "1", "1", "250"}, 2147441940}),
    [](const testing::TestParamInfo<CountCase>& info) { return info.param.name; });

TEST(PlanArea, AreaNarrowerThanSnapshotEndsWestOfTheStart) {
    VoyageState state;
    PlanArea(state, {"10", "10", "0.2", "0.1", "0.3", "0.2", "250"}, '.');
    EXPECT_LT(state.EndLon, state.CurLon);
    EXPECT_GT(state.EndLat, state.CurLat);
}

TEST(PlanArea, NegativeSnapshotPutsTheFirstCentreBeyondTheCorner) {
    VoyageState state;
    PlanArea(state, {"10", "20", "1", "0.4", "-0.3", "-0.2", "250"}, '.');
    EXPECT_GT(state.CurLat, 10.0f);
    EXPECT_LT(state.CurLon, 20.0f);
}

TEST(PlanArea, CoordinatesAreNeitherClampedNorWrapped) {
    VoyageState state;
    PlanArea(state, {"95", "-190", "1", "0.4", "0.3", "0.2", "250"}, '.');
    EXPECT_GT(state.CurLat, 94.99f);
    EXPECT_LT(state.CurLon, -189.99f);
}

// A failed plan: which error, and which fields were stored before it.
enum Field : unsigned {
    CurLat = 1,
    CurLon = 2,
    RowStartLon = 4,
    Range = 8,
    EndLat = 16,
    EndLon = 32,
    SnapshotCount = 64,
};

struct FailureCase {
    std::string name;
    AreaTexts texts;
    std::string message;
    unsigned storedFields;
    std::function<bool(const std::exception&)> isExpectedType;
};

template <class Error> std::function<bool(const std::exception&)> Is() {
    return [](const std::exception& e) { return dynamic_cast<const Error*>(&e) != nullptr; };
}

class PlanAreaFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(PlanAreaFailure, StopsAtTheFailingStepKeepingEarlierFields) {
    const FailureCase& c = GetParam();
    VoyageState before;
    before.CurLat = -7.5f;
    before.CurLon = -7.5f;
    before.RowStartLon = -7.5f;
    before.Range = -7;
    before.EndLat = -7.5f;
    before.EndLon = -7.5f;
    before.SnapshotCount = -7;
    VoyageState state = before;

    try {
        PlanArea(state, c.texts, '.');
        FAIL() << "plan accepted";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), c.message);
        EXPECT_TRUE(c.isExpectedType(e)) << typeid(e).name();
    }

    const auto changed = [&](Field field, bool differs) {
        EXPECT_EQ(differs, (c.storedFields & field) != 0) << "field " << field;
    };
    changed(CurLat, state.CurLat != before.CurLat);
    changed(CurLon, state.CurLon != before.CurLon);
    changed(RowStartLon, state.RowStartLon != before.RowStartLon);
    changed(Range, state.Range != before.Range);
    changed(EndLat, state.EndLat != before.EndLat);
    changed(EndLon, state.EndLon != before.EndLon);
    changed(SnapshotCount, state.SnapshotCount != before.SnapshotCount);
}

constexpr unsigned Start = CurLat | CurLon | RowStartLon;
constexpr unsigned Bounds = Start | Range | EndLat | EndLon;

INSTANTIATE_TEST_SUITE_P(
    Steps, PlanAreaFailure,
    testing::Values(FailureCase{"BadLatitude",
                                {"48.86N", "2.2877", "1", "0.4", "0.3", "0.2", "250"},
                                "'48.86N' is not a valid floating point value",
                                0,
                                Is<ConversionError>()},
                    FailureCase{"BadSnapshotHeightAtFirstUse",
                                {"48.86", "2.2877", "1", "0.4", "0.3", "", "250"},
                                "'' is not a valid floating point value",
                                0,
                                Is<ConversionError>()},
                    FailureCase{"BadLongitude",
                                {"48.86", "2,2877", "1", "0.4", "0.3", "0.2", "250"},
                                "'2,2877' is not a valid floating point value",
                                CurLat,
                                Is<ConversionError>()},
                    FailureCase{"BadSnapshotWidth",
                                {"48.86", "2.2877", "1", "0.4", " 0.3x", "0.2", "250"},
                                "' 0.3x' is not a valid floating point value",
                                CurLat,
                                Is<ConversionError>()},
                    FailureCase{"FractionalAltitude",
                                {"48.86", "2.2877", "1", "0.4", "0.3", "0.2", "250.5"},
                                "'250.5' is not a valid integer value",
                                Start,
                                Is<ConversionError>()},
                    FailureCase{"BadAreaHeight",
                                {"48.86", "2.2877", "1", "-", "0.3", "0.2", "250"},
                                "'-' is not a valid floating point value",
                                Start | Range,
                                Is<ConversionError>()},
                    FailureCase{"BadAreaWidth",
                                {"48.86", "2.2877", "1 km", "0.4", "0.3", "0.2", "250"},
                                "'1 km' is not a valid floating point value",
                                Start | Range | EndLat,
                                Is<ConversionError>()},
                    // The first text that fails decides the error.
                    FailureCase{"LatitudeBeforeAltitude",
                                {"x", "2.2877", "1", "0.4", "0.3", "0.2", "y"},
                                "'x' is not a valid floating point value",
                                0,
                                Is<ConversionError>()},
                    FailureCase{"ZeroSnapshotWidth",
                                {"48.86", "2.2877", "1", "0.4", "0", "0.2", "250"},
                                "Floating point division by zero",
                                Bounds,
                                Is<FloatingPointError>()},
                    FailureCase{"ZeroSnapshotHeight",
                                {"48.86", "2.2877", "1", "0.4", "0.3", "0", "250"},
                                "Floating point division by zero",
                                Bounds,
                                Is<FloatingPointError>()},
                    FailureCase{"ZeroAreaAndSnapshotWidth",
                                {"48.86", "2.2877", "0", "0.4", "0", "0.2", "250"},
                                "Invalid floating point operation",
                                Bounds,
                                Is<FloatingPointError>()},
                    FailureCase{"LatitudeBeyondFloat",
                                {"1e39", "2.2877", "1", "0.4", "0.3", "0.2", "250"},
                                "Floating point overflow",
                                0,
                                Is<FloatingPointError>()},
                    FailureCase{"LatitudeBeyondExtended",
                                {"1e5000", "2.2877", "1", "0.4", "0.3", "0.2", "250"},
                                "'1e5000' is not a valid floating point value",
                                0,
                                Is<ConversionError>()},
                    FailureCase{"AreaHeightOverflowsTheProduct",
                                {"48.86", "2.2877", "1", "1e4931", "0.3", "0.2", "250"},
                                "Floating point overflow",
                                Start | Range,
                                Is<FloatingPointError>()},
                    FailureCase{"EndLonBeyondFloat",
                                {"48.86", "2.2877", "1e41", "0.4", "0.3", "0.2", "250"},
                                "Floating point overflow",
                                Start | Range | EndLat,
                                Is<FloatingPointError>()},
                    // Counts that do not fit in 32 bits are refused rather than wrapped.
                    FailureCase{"ColumnsBeyond32Bits",
                                {"0", "0", "3e9", "0.4", "1", "0.2", "250"},
                                "Invalid floating point operation",
                                Bounds,
                                Is<FloatingPointError>()},
                    FailureCase{"RowsBelow32Bits",
                                {"0", "0", "1", "-3e9", "0.3", "1", "250"},
                                "Invalid floating point operation",
                                Bounds,
                                Is<FloatingPointError>()},
                    FailureCase{"ProductBeyond32Bits",
                                {"0", "0", "100000", "100000", "1", "1", "250"},
                                "Integer overflow",
                                Bounds,
                                Is<IntegerOverflowError>()},
                    FailureCase{"ProductOneAbove32Bits",
                                {"0", "0", "46341", "46341", "1", "1", "250"},
                                "Integer overflow",
                                Bounds,
                                Is<IntegerOverflowError>()}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

} // namespace
} // namespace tembrel
