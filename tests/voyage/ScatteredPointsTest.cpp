// The Scattered Points tab: each tick writes the point loaded one period
// earlier and loads the next; ItemNo moves one line per tick.
#include "VoyageHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tembrel::test {
namespace {

const std::string Ended = "box information The voyage has been ended.";
const std::string NotCorrect = "box error Some Data is not correct. Please review your values.";
const std::string Missing = "box error Some data is missing. Please complete your data.";
const std::string Cairo = "view 30.1019992828369 31.2150001525879 250";
const std::string Atlantic = "view -25.3649997711182 16.2145004272461 250";
const std::string ExampleMemo = "30.102, 31.215\n-25.365, 16.2145";

class PointsHarness : public VoyageHarness {
public:
    PointsHarness() {
        window.SetActivePage(Page::TS_Points);
        SetEdit(InputEdit::E_VA, "250");
        SetEdit(InputEdit::E_VR, "10");
    }
};

// Memos flown from line 0 with a 10 s period, event for event.
struct MemoCase {
    const char* name;
    std::string memo;
    std::vector<Event> expected;
};

class PointSequences : public ::testing::TestWithParam<MemoCase> {};

TEST_P(PointSequences, EventsMatch) {
    const MemoCase& c = GetParam();
    PointsHarness h;
    h.window.SetMemoText(c.memo);
    h.Start();
    h.RunToEnd();
    EXPECT_EQ(h.window.Events(), c.expected) << Describe(h.window.Events());
    EXPECT_EQ(h.window.EndNotices(), 1);
    EXPECT_EQ(h.state.ItemNo, 1);
    h.ExpectIdleLayout();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PointSequences,
    ::testing::Values(
        MemoCase{"TheExampleMemo",
                 ExampleMemo,
                 {At(0, "gauge 500000000"), At(10, Cairo), At(10, "gauge 1000000000"),
                  At(20, Atlantic), At(20, Ended), At(20, "gauge 0")}},
        // The final line break adds no line: same as the example.
        MemoCase{"TrailingLineBreak",
                 ExampleMemo + "\n",
                 {At(0, "gauge 500000000"), At(10, Cairo), At(10, "gauge 1000000000"),
                  At(20, Atlantic), At(20, Ended), At(20, "gauge 0")}},
        MemoCase{"CrLfLines",
                 "30.102, 31.215\r\n-25.365, 16.2145\r\n",
                 {At(0, "gauge 500000000"), At(10, Cairo), At(10, "gauge 1000000000"),
                  At(20, Atlantic), At(20, Ended), At(20, "gauge 0")}},
        // A single point: the first tick writes it and ends the voyage.
        MemoCase{"SinglePoint",
                 "30.102, 31.215",
                 {At(0, "gauge 1000000000"), At(10, Cairo), At(10, Ended), At(10, "gauge 0")}},
        // "a", "b", point: the point is loaded three times, written at T, 2T, 3T.
        MemoCase{"TwoWordsThenAPoint",
                 "a\nb\n30.102, 31.215",
                 {At(0, "gauge 333333333"), At(10, Cairo), At(10, "gauge 666666666"), At(20, Cairo),
                  At(20, "gauge 999999999"), At(30, Cairo), At(30, Ended), At(30, "gauge 0")}},
        // Point, two lines without a comma, point: the second point at 2T, 3T, 4T.
        MemoCase{"GapBetweenPoints",
                 "30.102, 31.215\nx\ny\n-25.365, 16.2145",
                 {At(0, "gauge 250000000"), At(10, Cairo), At(10, "gauge 500000000"),
                  At(20, Atlantic), At(20, "gauge 750000000"), At(30, Atlantic),
                  At(30, "gauge 1000000000"), At(40, Atlantic), At(40, Ended), At(40, "gauge 0")}},
        // A line of blanks after the point holds no comma: the voyage ends at T.
        MemoCase{"BlankLineAfterThePoint",
                 "30.102, 31.215\n   ",
                 {At(0, "gauge 500000000"), At(10, Cairo), At(10, Ended), At(10, "gauge 0")}},
        // An empty line in the middle is a counted line without a comma.
        MemoCase{"EmptyLineBetweenPoints",
                 "30.102, 31.215\n\n-25.365, 16.2145",
                 {At(0, "gauge 333333333"), At(10, Cairo), At(10, "gauge 666666666"),
                  At(20, Atlantic), At(20, "gauge 999999999"), At(30, Atlantic), At(30, Ended),
                  At(30, "gauge 0")}},
        // No point line at all: the start ends the voyage at once.
        MemoCase{"NoPointLine", "a\nb", {At(0, Ended)}}),
    [](const auto& info) { return std::string(info.param.name); });

// Lines the point start cannot read: the trap's message, and the voyage halts.
struct BadLineCase {
    const char* name;
    const char* line;
};

class UnreadablePointLine : public ::testing::TestWithParam<BadLineCase> {};

TEST_P(UnreadablePointLine, ShowsTheDataMessage) {
    PointsHarness h;
    h.window.SetMemoText(GetParam().line);
    h.Start();
    EXPECT_EQ(h.window.Events(), (std::vector<Event>{At(0, NotCorrect)}))
        << Describe(h.window.Events());
    EXPECT_FALSE(h.window.Timer().Enabled());
    EXPECT_FALSE(h.clock.Pending());
    EXPECT_EQ(h.state.ItemNo, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, UnreadablePointLine,
                         ::testing::Values(BadLineCase{"ThreeNumbers", "1, 2, 3"},
                                           BadLineCase{"LeadingComma", ", 5"},
                                           BadLineCase{"NothingAfterTheComma", "5,"},
                                           BadLineCase{"Letters", "east, north"},
                                           BadLineCase{"TabBeforeTheNumber", "\t5, 6"},
                                           BadLineCase{"BeyondSingleRange", "1e39, 5"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScatteredPoints, BadAltitudeOrRefreshIsTrapped) {
    for (const auto& [edit, text] :
         {std::pair{InputEdit::E_VA, "250.5"}, std::pair{InputEdit::E_VR, "2.5"},
          std::pair{InputEdit::E_VR, ""}}) {
        PointsHarness h;
        h.window.SetMemoText(ExampleMemo);
        h.SetEdit(edit, text);
        h.Start();
        EXPECT_EQ(h.window.Events(), (std::vector<Event>{At(0, NotCorrect)})) << text;
        EXPECT_FALSE(h.window.Timer().Enabled()) << text;
    }
}

TEST(ScatteredPoints, CommaSeparatorSplitsAtTheFirstComma) {
    // With "," as decimal separator the longitude can only be whole.
    PointsHarness h;
    h.controller.SetDecimalSeparator(',');
    h.window.SetMemoText("30,31,215");
    h.Start();
    h.RunToEnd();
    EXPECT_EQ(h.EventsOf("view"), (std::vector<Event>{At(10, "view 30 31,2150001525879 250")}));
}

TEST(ScatteredPoints, StopThenStartContinuesAfterTheLastPointWritten) {
    // GIVEN five point lines, WHEN Stop comes after line 2 was written, THEN
    // Start searches from line 3.
    PointsHarness h;
    h.window.SetMemoText("0, 1\n0, 2\n0, 3\n0, 4\n0, 5");
    h.Start();
    h.RunTo(35);
    ASSERT_EQ(h.EventsOf("view").back(), At(30, "view 0 3 250"));
    h.Stop();
    EXPECT_EQ(h.state.ItemNo, 4);
    h.RunTo(40);
    h.window.ClearEvents();
    h.Start();
    h.RunToEnd();
    const std::vector<Event> expected = {
        At(40, "gauge 200000000"), At(50, "view 0 4 250"), At(50, "gauge 400000000"),
        At(60, "view 0 5 250"),    At(60, Ended),          At(60, "gauge 0"),
    };
    EXPECT_EQ(h.window.Events(), expected) << Describe(h.window.Events());
}

TEST(ScatteredPoints, StopBeforeTheFirstTickStartsFromTheFirstLineAgain) {
    PointsHarness h;
    h.window.SetMemoText(ExampleMemo);
    h.Start();
    h.RunTo(5);
    h.Stop();
    h.window.ClearEvents();
    h.Start();
    h.RunTo(15);
    EXPECT_EQ(h.EventsOf("view"), (std::vector<Event>{Event{15000, Cairo}}));
}

TEST(ScatteredPoints, MemoShortenedAfterStopEndsAtOnce) {
    PointsHarness h;
    h.window.SetMemoText("0, 1\n0, 2\n0, 3\n0, 4");
    h.Start();
    h.RunTo(35);
    h.Stop();
    ASSERT_EQ(h.state.ItemNo, 4);
    h.window.SetMemoText("0, 1\n0, 2");
    h.window.ClearEvents();
    h.Start();
    EXPECT_EQ(h.window.Events(), (std::vector<Event>{Event{35000, Ended}}));
    EXPECT_EQ(h.state.ItemNo, 1);
    h.ExpectIdleLayout();
    // The next Start searches from line 0.
    h.window.ClearEvents();
    h.Start();
    h.RunTo(45);
    EXPECT_EQ(h.EventsOf("view"), (std::vector<Event>{Event{45000, "view 0 1 250"}}));
}

TEST(ScatteredPoints, RefreshChangeAppliesFromTheNextPoint) {
    PointsHarness h;
    h.window.SetMemoText("0, 1\n0, 2\n0, 3");
    h.Start();
    h.RunTo(5);
    h.SetEdit(InputEdit::E_VR, "3");
    h.RunToEnd();
    const std::vector<Event> views = h.EventsOf("view");
    // Line 0 was loaded with 10 s; line 1 is loaded at 10 s with 3 s, and so on.
    EXPECT_EQ(views, (std::vector<Event>{At(10, "view 0 1 250"), At(13, "view 0 2 250"),
                                         At(16, "view 0 3 250")}));
}

TEST(ScatteredPoints, PauseKeepsTheLoadedPointForTheNextTick) {
    PointsHarness h;
    h.window.SetMemoText(ExampleMemo);
    h.Start();
    h.RunTo(12);
    h.Pause();
    h.RunTo(30);
    EXPECT_EQ(h.EventsOf("view").size(), 1u);
    h.Start();
    h.RunToEnd();
    EXPECT_EQ(h.EventsOf("view"), (std::vector<Event>{At(10, Cairo), At(40, Atlantic)}));
    EXPECT_EQ(h.EventsOf("box"), (std::vector<Event>{At(40, Ended)}));
}

TEST(ScatteredPoints, EmptyMemoIsMissingDataButALineBreakIsALine) {
    PointsHarness h;
    h.window.SetMemoText("");
    h.Start();
    EXPECT_EQ(h.window.Events(), (std::vector<Event>{At(0, Missing)}));
    EXPECT_FALSE(h.state.InProgress);
    h.window.ClearEvents();
    h.window.SetMemoText("\n");
    EXPECT_EQ(h.window.MemoLineCount(), 1);
    h.Start();
    // One empty line: no point, so the voyage ends at once.
    EXPECT_EQ(h.window.Events(), (std::vector<Event>{At(0, Ended)}));
}

TEST(ScatteredPoints, SnapshotEditsPlayNoPart) {
    PointsHarness h;
    h.window.SetMemoText(ExampleMemo);
    h.SetEdit(InputEdit::E_VEast, "not a number");
    h.Start();
    h.RunToEnd();
    EXPECT_EQ(h.EventsOf("view"), (std::vector<Event>{At(10, Cairo), At(20, Atlantic)}));
}

TEST(ScatteredPoints, FocusReturnsToTheRefreshEditEveryPeriod) {
    PointsHarness h;
    h.window.SetMemoText("0, 1\n0, 2\n0, 3");
    h.Start();
    h.RunTo(25);
    EXPECT_EQ(h.window.RefreshFocusCount(), 3);
}

TEST(ScatteredPoints, UnwritableFileRetriesTheSamePoint) {
    PointsHarness h;
    h.window.SetMemoText(ExampleMemo);
    h.Start();
    std::filesystem::create_directory(h.writer.Path());
    h.RunTo(25);
    EXPECT_EQ(h.window.Events(), (std::vector<Event>{At(0, "gauge 500000000"),
                                                     At(10, "errorbox File access denied.")}));
    EXPECT_TRUE(h.window.Timer().Enabled());
    EXPECT_EQ(h.state.ItemNo, 1);
    std::filesystem::remove(h.writer.Path());
    h.window.ClearEvents();
    h.RunToEnd();
    EXPECT_EQ(h.EventsOf("view"), (std::vector<Event>{At(30, Cairo), At(40, Atlantic)}));
    EXPECT_EQ(h.EventsOf("errorbox"), (std::vector<Event>{At(30, "errorbox closed")}));
}

TEST(ScatteredPoints, SwitchToAreaTabStepsTheLoadedPointAsAnArea) {
    // The tick follows the tab now shown: on the Area tab it writes the loaded
    // point and steps from it with the bounds of the last planned area.
    PointsHarness h;
    h.window.SetMemoText(ExampleMemo);
    h.Start();
    h.window.SetActivePage(Page::TS_Area);
    h.RunTo(10);
    // No area was ever planned: EndLat and EndLon are 0, so latitude 31.215
    // lies within the area and longitude 30.102 ends the row; the move to the
    // next row then fails on the empty snapshot height, after the write.
    EXPECT_EQ(h.window.Events(),
              (std::vector<Event>{At(0, "gauge 500000000"), At(10, Cairo),
                                  At(10, "errorbox '' is not a valid floating point value.")}))
        << Describe(h.window.Events());
}

} // namespace
} // namespace tembrel::test
