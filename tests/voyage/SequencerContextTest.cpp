// The two sequencers driven through their context alone: a headless window
// as view and inputs, a timer on a virtual clock, and steps that only note
// what the controller would have been asked to do.
#include "SequencerContext.h"
#include "HeadlessWindow.h"
#include "MultipleAreasSequencer.h"
#include "ScatteredPointsSequencer.h"
#include "TimerModel.h"
#include "VirtualClock.h"
#include "VoyageState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tembrel::test {
namespace {

class NotedSteps final : public VoyageSteps {
public:
    char DecimalSeparator() const override { return separator; }
    void WriteView() override { noted.push_back("write"); }
    void Start() override { noted.push_back("start"); }
    void EndVoyage() override { noted.push_back("end"); }
    void RecoverFromFailedStart() override { noted.push_back("recover"); }

    char separator = '.';
    std::vector<std::string> noted;
};

struct Fixture {
    Fixture() {
        window.SetEditText(InputEdit::E_VEast, "0.3");
        window.SetEditText(InputEdit::E_VSouth, "0.2");
        window.SetEditText(InputEdit::E_VA, "250");
        window.SetEditText(InputEdit::E_VR, "10");
        state.ItemNo = 1;
    }
    SequencerContext Context() { return {state, window, window, timer, steps}; }

    VirtualClock clock;
    HeadlessWindow window{clock};
    TimerModel timer{clock};
    NotedSteps steps;
    VoyageState state;
};

TEST(MultipleAreasThroughItsContext, PlansTheRowOfItemNoAndArmsTheTimer) {
    Fixture f;
    f.window.SetGridCell(0, 1, "48,86");
    f.window.SetGridCell(1, 1, "2,2877");
    f.window.SetGridCell(2, 1, "1");
    f.window.SetGridCell(3, 1, "0,4");
    f.window.SetEditText(InputEdit::E_VEast, "0,3");
    f.window.SetEditText(InputEdit::E_VSouth, "0,2");
    f.steps.separator = ',';
    f.state.ItemNo = 2;
    MultipleAreasSequencer areas(f.Context());

    areas.Start();

    EXPECT_EQ(f.steps.noted, std::vector<std::string>{"write"});
    EXPECT_FALSE(f.state.AreasDone);
    EXPECT_EQ(f.state.ItemIdx, 1);
    EXPECT_EQ(f.state.Range, 250);
    EXPECT_LT(f.state.EndLat, f.state.CurLat); // a planned area, read with the given separator
    EXPECT_EQ(f.window.AreaLabelCaption(), "Now scanning area no. 2");
    EXPECT_TRUE(f.window.AreaLabelVisible());
    EXPECT_TRUE(f.timer.Enabled());
    EXPECT_EQ(f.timer.Interval(), 10000);
}

TEST(MultipleAreasThroughItsContext, AnIncompleteRowEndsTheListAtTheNextTick) {
    Fixture f;
    f.window.SetGridCell(0, 0, "48.86");
    MultipleAreasSequencer areas(f.Context());

    areas.Start();
    EXPECT_TRUE(f.state.AreasDone);
    EXPECT_TRUE(f.timer.Enabled());
    EXPECT_TRUE(f.steps.noted.empty());

    f.state.ItemNo = 7;
    areas.EndOfList();
    EXPECT_EQ(f.steps.noted, std::vector<std::string>{"end"});
    EXPECT_EQ(f.state.ItemNo, 1);
}

TEST(MultipleAreasThroughItsContext, NextAreaStopsTheTimerAndStartsAgain) {
    Fixture f;
    f.timer.SetEnabled(true);
    f.window.SetProgress(5);
    f.state.ItemNo = 3;
    MultipleAreasSequencer(f.Context()).NextArea();
    EXPECT_EQ(f.state.ItemNo, 4);
    EXPECT_EQ(f.window.Progress(), 0);
    EXPECT_FALSE(f.timer.Enabled());
    EXPECT_EQ(f.steps.noted, std::vector<std::string>{"start"});
}

struct PointStartCase {
    const char* name;
    std::vector<std::string> memo;
    std::vector<std::string> noted;
    std::int32_t itemIdx; // of the loaded point
    bool timerOn;
};

class ScatteredPointsThroughItsContext : public ::testing::TestWithParam<PointStartCase> {};

TEST_P(ScatteredPointsThroughItsContext, StartLoadsTheFirstPointLineOrEnds) {
    const PointStartCase& c = GetParam();
    Fixture f;
    f.window.SetMemoLines(c.memo);
    ScatteredPointsSequencer(f.Context()).Start();
    EXPECT_EQ(f.steps.noted, c.noted);
    EXPECT_EQ(f.timer.Enabled(), c.timerOn);
    if (c.timerOn) {
        EXPECT_EQ(f.state.ItemIdx, c.itemIdx);
        EXPECT_EQ(f.state.CurLon, 10.5f);
        EXPECT_EQ(f.state.CurLat, -20.25f);
        EXPECT_EQ(f.timer.Interval(), 10000);
        EXPECT_EQ(f.window.Progress(), 1000000000 / static_cast<std::int64_t>(c.memo.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ScatteredPointsThroughItsContext,
                         ::testing::Values(
                             PointStartCase{
                                 "PointOnSecondLine", {"no point", "10.5, -20.25"}, {}, 1, true},
                             PointStartCase{"NoPointLeft", {"no point"}, {"end"}, 0, false},
                             PointStartCase{"BadPoint", {"x, 1"}, {"recover"}, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScatteredPointsThroughItsContext, BadPointShowsTheDataMessage) {
    Fixture f;
    f.window.SetMemoLines({"x, 1"});
    ScatteredPointsSequencer(f.Context()).Start();
    ASSERT_EQ(f.window.Events().size(), 1u);
    EXPECT_EQ(f.window.Events()[0].text,
              "box error Some Data is not correct. Please review your values.");
}

TEST(ScatteredPointsThroughItsContext, StepWritesMovesOnAndStartsAgain) {
    Fixture f;
    f.timer.SetEnabled(true);
    f.state.ItemNo = 4;
    ScatteredPointsSequencer(f.Context()).Step();
    EXPECT_EQ(f.steps.noted, (std::vector<std::string>{"write", "start"}));
    EXPECT_EQ(f.state.ItemNo, 5);
    EXPECT_FALSE(f.timer.Enabled());
}

} // namespace
} // namespace tembrel::test
