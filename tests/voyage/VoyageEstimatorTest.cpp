// The voyage estimate: the figures before a start,
// the time left at every tick of real voyages on the headless window (also
// with the refresh period changed, a pause and a change of tab on the way),
// and the texts the user reads.
#include "VoyageHarness.h"

#include "Messages.h"
#include "VoyageEstimate.h"
#include "VoyageEstimator.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tembrel {
// Printed readably in failed comparisons.
void PrintTo(const VoyageEstimate& e, std::ostream* out) {
    *out << "{outcome " << static_cast<int>(e.outcome) << ", views " << e.views << ", periods "
         << e.periods << ", ms " << e.milliseconds << ", failure '" << e.failure << "' area "
         << e.failedArea << " line " << e.failedLine << "}";
}
} // namespace tembrel

namespace tembrel::test {
namespace {

using Outcome = VoyageEstimate::Outcome;

// ---------------------------------------------------------------- before a start

VoyageEstimate Ends(std::int64_t views, std::int64_t periods, std::int64_t milliseconds) {
    VoyageEstimate estimate;
    estimate.views = views;
    estimate.periods = periods;
    estimate.milliseconds = milliseconds;
    return estimate;
}

VoyageEstimate Stopped(Outcome outcome) {
    VoyageEstimate estimate;
    estimate.outcome = outcome;
    return estimate;
}

VoyageEstimate Fails(const std::string& message, std::int32_t area, std::int32_t line) {
    VoyageEstimate estimate = Stopped(Outcome::Fails);
    estimate.failure = message;
    estimate.failedArea = area;
    estimate.failedLine = line;
    return estimate;
}

// What a Start would begin now, from the first area or line.
VoyageEstimate EstimateNow(const VoyageHarness& h) {
    return VoyageEstimator(h.window, h.window.Timer(), '.').BeforeStart(1);
}

TEST(BeforeStart, HelpExample) {
    VoyageHarness h;
    h.SetHelpExample();
    EXPECT_EQ(EstimateNow(h), Ends(6, 7, 70000));
}

TEST(BeforeStart, TickBudgetMakesItTooLong) {
    VoyageHarness h;
    h.SetHelpExample();
    // Seven ticks: six centres and the one that ends the voyage.
    EXPECT_EQ(VoyageEstimator(h.window, h.window.Timer(), '.', 7).BeforeStart(1),
              Ends(6, 7, 70000));
    EXPECT_EQ(VoyageEstimator(h.window, h.window.Timer(), '.', 6).BeforeStart(1),
              Stopped(Outcome::TooLong));
}

TEST(BeforeStart, AreaThatOnlyItsStartWrites) {
    VoyageHarness h;
    h.SetHelpExample();
    h.SetEdit(InputEdit::E_VS, "0.1");
    // One view, written at the start; the first tick ends the voyage.
    EXPECT_EQ(EstimateNow(h), Ends(1, 1, 10000));
}

// Steps that never take the walk past the area's end: only Stop ends it.
struct NeverEndsCase {
    const char* name;
    const char* snapWidth;
    const char* snapHeight;
};

void PrintTo(const NeverEndsCase& c, std::ostream* out) {
    *out << c.name;
}

class NeverEnds : public ::testing::TestWithParam<NeverEndsCase> {};

TEST_P(NeverEnds, BeforeStart) {
    VoyageHarness h;
    h.SetArea("48.86", "2.2877", "1", "0.4", GetParam().snapWidth, GetParam().snapHeight, "250",
              "10");
    EXPECT_EQ(EstimateNow(h), Stopped(Outcome::NeverEnds));
}

INSTANTIATE_TEST_SUITE_P(Cases, NeverEnds,
                         ::testing::Values(NeverEndsCase{"west_steps", "-0.3", "0.2"},
                                           NeverEndsCase{"north_rows", "0.3", "-0.2"},
                                           NeverEndsCase{"both", "-0.3", "-0.2"}));

TEST(BeforeStart, AreasFromTheStoppedRow) {
    VoyageHarness h;
    h.window.SetActivePage(Page::TS_MAreas);
    h.SetEdit(InputEdit::E_VEast, "0.3");
    h.SetEdit(InputEdit::E_VSouth, "0.2");
    h.SetEdit(InputEdit::E_VA, "250");
    h.SetEdit(InputEdit::E_VR, "10");
    h.SetGridRow(0, "48.86", "2.2877", "1", "0.4"); // 6 centres
    h.SetGridRow(1, "10", "20", "0.3", "0.2");      // 1 centre
    const VoyageEstimator estimator(h.window, h.window.Timer(), '.');
    EXPECT_EQ(estimator.BeforeStart(1), Ends(7, 7 + 2 + 1, 100000));
    // After a Stop in area 2 the next Start begins there.
    EXPECT_EQ(estimator.BeforeStart(2), Ends(1, 2 + 1, 30000));
    // Past the list: the first tick ends it, at the timer's interval.
    EXPECT_EQ(estimator.BeforeStart(3), Ends(0, 1, 1000));
    EXPECT_EQ(estimator.BeforeStart(51), Ends(0, 1, 1000));
}

TEST(BeforeStart, PointsFromTheStoppedLine) {
    VoyageHarness h;
    h.window.SetActivePage(Page::TS_Points);
    h.SetEdit(InputEdit::E_VA, "250");
    h.SetEdit(InputEdit::E_VR, "10");
    h.window.SetMemoText("1, 2\nnote\n3, 4\n5, 6\nlast words\n");
    const VoyageEstimator estimator(h.window, h.window.Timer(), '.');
    // Lines 1 to 4 (the last point line): four periods, three points.
    EXPECT_EQ(estimator.BeforeStart(1), Ends(3, 4, 40000));
    EXPECT_EQ(estimator.BeforeStart(2), Ends(2, 3, 30000));
    EXPECT_EQ(estimator.BeforeStart(4), Ends(1, 1, 10000));
    // No point line left: the start itself ends the voyage.
    EXPECT_EQ(estimator.BeforeStart(5), Ends(0, 0, 0));
    EXPECT_EQ(estimator.BeforeStart(40), Ends(0, 0, 0));
}

TEST(BeforeStart, FailuresNameTheirPlace) {
    VoyageHarness h;
    h.SetHelpExample();
    h.SetEdit(InputEdit::E_VA, "250.5");
    EXPECT_EQ(EstimateNow(h), Fails(messages::DataNotCorrect, 0, 0));

    h.window.SetActivePage(Page::TS_MAreas);
    h.SetEdit(InputEdit::E_VA, "250");
    h.SetGridRow(0, "48.86", "2.2877", "1", "0.4");
    h.SetGridRow(1, "48.86", "2.2877", "1", "0.4");
    h.SetGridRow(2, "48.86", "2.2877", "0", "0.4");
    h.SetEdit(InputEdit::E_VEast, "0");
    EXPECT_EQ(EstimateNow(h), Fails("Floating point division by zero.", 1, 0));
    h.SetEdit(InputEdit::E_VEast, "0.3");
    h.SetGridRow(1, "48.86", "2.2877", "1", "four");
    EXPECT_EQ(EstimateNow(h), Fails("'four' is not a valid floating point value.", 2, 0));

    h.window.SetActivePage(Page::TS_Points);
    h.window.SetMemoText("1, 2\n3, 4\n,5\n");
    EXPECT_EQ(EstimateNow(h), Fails(messages::DataNotCorrect, 0, 3));
}

// ---------------------------------------------------------------- time left

// Runs a started voyage to its end and checks the time left given after the
// start and after every tick (from `checkFrom` on) against the time the
// voyage really ends. duringTick(now) runs after each tick, before the check.
class TimeLeftCheck {
public:
    explicit TimeLeftCheck(VoyageHarness& h) : h_(h), estimator_(h.window, h.window.Timer(), '.') {
        h_.window.SetTickHandler([this] {
            h_.controller.Tick();
            if (duringTick) {
                duringTick(h_.clock.Now());
            }
            Record();
        });
    }

    std::function<void(VirtualClock::Milliseconds)> duringTick;
    VirtualClock::Milliseconds checkFrom = 0;

    void Record() {
        if (h_.state.InProgress && !h_.state.Paused) {
            seen_.emplace_back(h_.clock.Now(), estimator_.TimeLeft(h_.state));
        }
    }

    // Starts, runs to the end and compares; gives the estimate at the start.
    VoyageEstimate StartAndRun() {
        const VoyageEstimate before = estimator_.BeforeStart(h_.state.ItemNo);
        h_.Start();
        Record();
        h_.RunToEnd();
        std::optional<VirtualClock::Milliseconds> end;
        for (const Event& event : h_.window.Events()) {
            if (event.text == "box information The voyage has been ended.") {
                end = event.time;
            }
        }
        EXPECT_TRUE(end.has_value()) << Describe(h_.window.Events());
        int checked = 0;
        bool checkPointSeen = false;
        for (const auto& [time, left] : seen_) {
            if (time < checkFrom) {
                continue;
            }
            ++checked;
            checkPointSeen = checkPointSeen || time == checkFrom;
            EXPECT_EQ(left.outcome, Outcome::Ends) << "at " << time << " ms";
            EXPECT_EQ(time + left.milliseconds, end.value_or(-1)) << "at " << time << " ms";
        }
        // A check point that no sample reaches would check nothing.
        EXPECT_TRUE(checkPointSeen) << "no time left taken at " << checkFrom << " ms";
        EXPECT_GE(checked, 2) << "the time left was taken too rarely from " << checkFrom << " ms";
        return before;
    }

    const std::vector<std::pair<VirtualClock::Milliseconds, VoyageEstimate>>& Seen() const {
        return seen_;
    }

private:
    VoyageHarness& h_;
    VoyageEstimator estimator_;
    std::vector<std::pair<VirtualClock::Milliseconds, VoyageEstimate>> seen_;
};

void SetAreasInputs(VoyageHarness& h) {
    h.window.SetActivePage(Page::TS_MAreas);
    h.SetEdit(InputEdit::E_VEast, "0.3");
    h.SetEdit(InputEdit::E_VSouth, "0.2");
    h.SetEdit(InputEdit::E_VA, "250");
    h.SetEdit(InputEdit::E_VR, "10");
    h.SetGridRow(0, "48.86", "2.2877", "1", "0.4"); // 6 centres
    h.SetGridRow(1, "10", "20", "0.3", "0.2");      // 1 centre
    h.SetGridRow(2, "31.55125", "29.79862", "1.2", "1");
}

TEST(TimeLeft, AreaAtEveryTick) {
    VoyageHarness h;
    h.SetHelpExample();
    TimeLeftCheck check(h);
    EXPECT_EQ(check.StartAndRun(), Ends(6, 7, 70000));
    // At the start the whole voyage is left; then one centre a tick.
    ASSERT_EQ(check.Seen().size(), 7u);
    EXPECT_EQ(check.Seen()[0].second, Ends(6, 7, 70000));
    EXPECT_EQ(check.Seen()[1].second, Ends(5, 6, 60000));
    EXPECT_EQ(check.Seen()[6].second, Ends(0, 1, 10000));
}

TEST(TimeLeft, AreasAtEveryTick) {
    VoyageHarness h;
    SetAreasInputs(h);
    TimeLeftCheck check(h);
    const VoyageEstimate before = check.StartAndRun();
    EXPECT_EQ(check.Seen().front().second, before);
    // More than the first two areas' 7 + 2 periods and the final one.
    EXPECT_GT(before.periods, 10);
}

TEST(TimeLeft, AreasWithTheRefreshPeriodChangedOnTheWay) {
    VoyageHarness h;
    SetAreasInputs(h);
    TimeLeftCheck check(h);
    // The new period applies from the next area on; the current one keeps
    // the timer's interval, and the estimate knows it.
    check.duringTick = [&](VirtualClock::Milliseconds now) {
        if (now == 30000) {
            h.SetEdit(InputEdit::E_VR, "3");
        }
    };
    check.checkFrom = 30000;
    check.StartAndRun();
}

TEST(TimeLeft, AreasSwitchedToTheAreaTab) {
    VoyageHarness h;
    SetAreasInputs(h);
    TimeLeftCheck check(h);
    // On the Area tab the end of the current area ends the voyage.
    check.duringTick = [&](VirtualClock::Milliseconds now) {
        if (now == 20000) {
            h.window.SetActivePage(Page::TS_Area);
        }
    };
    check.checkFrom = 20000;
    check.StartAndRun();
}

TEST(TimeLeft, PointsAtEveryTick) {
    VoyageHarness h;
    h.window.SetActivePage(Page::TS_Points);
    h.SetEdit(InputEdit::E_VA, "250");
    h.SetEdit(InputEdit::E_VR, "10");
    h.window.SetMemoText("a\n1, 2\nb\nc\n3, 4\n5, 6\nd\n");
    TimeLeftCheck check(h);
    EXPECT_EQ(check.StartAndRun(), Ends(3, 6, 60000));
    // Each tick one line on, whatever the search passed over.
    ASSERT_EQ(check.Seen().size(), 6u);
    EXPECT_EQ(check.Seen()[1].second.periods, 5);
    EXPECT_EQ(check.Seen()[5].second, Ends(1, 1, 10000));
}

TEST(TimeLeft, PointsWithTheRefreshPeriodChangedOnTheWay) {
    VoyageHarness h;
    h.window.SetActivePage(Page::TS_Points);
    h.SetEdit(InputEdit::E_VA, "250");
    h.SetEdit(InputEdit::E_VR, "10");
    h.window.SetMemoText("1, 2\n3, 4\n5, 6\n7, 8\n");
    TimeLeftCheck check(h);
    check.duringTick = [&](VirtualClock::Milliseconds now) {
        if (now == 10000) {
            h.SetEdit(InputEdit::E_VR, "4");
        }
    };
    check.checkFrom = 10000;
    check.StartAndRun();
}

TEST(TimeLeft, WhilePausedCountsFromTheResume) {
    VoyageHarness h;
    h.SetHelpExample();
    const VoyageEstimator estimator(h.window, h.window.Timer(), '.');
    h.Start();
    h.RunTo(25);
    h.Pause();
    const VoyageEstimate left = estimator.TimeLeft(h.state);
    EXPECT_EQ(left, Ends(4, 5, 50000));
    h.RunTo(1000);
    h.Start(); // resume: a full period to the next tick
    h.RunToEnd();
    ASSERT_FALSE(h.EventsOf("box").empty());
    EXPECT_EQ(h.EventsOf("box").back().time, 1000 * 1000 + left.milliseconds);
}

TEST(BeforeStart, NothingToStartFromFailsAsTheStartDoes) {
    // GIVEN an empty Area page, then a memo without lines
    VoyageHarness h;
    EXPECT_EQ(EstimateNow(h), Fails(messages::DataMissing, 0, 0));
    h.window.SetActivePage(Page::TS_Points);
    // THEN the estimate says what Start says, not an empty voyage
    EXPECT_EQ(EstimateNow(h), Fails(messages::DataMissing, 0, 0));
}

TEST(BeforeStart, RefreshZeroFailsAsTheStartDoes) {
    VoyageHarness h;
    h.SetHelpExample();
    h.SetEdit(InputEdit::E_VR, "0");
    EXPECT_EQ(EstimateNow(h), Fails(messages::DataNotCorrect, 0, 0));
    h.window.SetActivePage(Page::TS_MAreas);
    h.SetGridRow(0, "48.86", "2.2877", "1", "0.4");
    EXPECT_EQ(EstimateNow(h), Fails("'0' is not a valid integer value.", 1, 0));
    h.window.SetActivePage(Page::TS_Points);
    h.window.SetMemoText("1, 2\n3, 4\n");
    EXPECT_EQ(EstimateNow(h), Fails(messages::DataNotCorrect, 0, 1));
}

// ---------------------------------------------------------------- texts

struct DurationCase {
    std::int64_t milliseconds;
    const char* text;
};

class Duration : public ::testing::TestWithParam<DurationCase> {};

TEST_P(Duration, Text) {
    EXPECT_EQ(FormatDuration(GetParam().milliseconds), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Duration,
    ::testing::Values(DurationCase{0, "0 s"}, DurationCase{1, "1 s"}, DurationCase{1000, "1 s"},
                      DurationCase{1001, "2 s"}, DurationCase{59000, "59 s"},
                      DurationCase{60000, "1 min 0 s"}, DurationCase{70000, "1 min 10 s"},
                      DurationCase{3599000, "59 min 59 s"}, DurationCase{3600000, "1 h 0 min 0 s"},
                      DurationCase{3661000, "1 h 1 min 1 s"},
                      DurationCase{86399000, "23 h 59 min 59 s"},
                      DurationCase{86400000, "1 d 0 h 0 min 0 s"},
                      DurationCase{90061000, "1 d 1 h 1 min 1 s"}));

TEST(Describe, Texts) {
    EXPECT_EQ(DescribeEstimate(Ends(6, 7, 70000), false),
              "Voyage estimate: 6 views, 1 min 10 s (7 periods)");
    EXPECT_EQ(DescribeEstimate(Ends(1, 1, 10000), true), "Time left: 1 view, 10 s (1 period)");
    EXPECT_EQ(DescribeEstimate(Ends(0, 0, 0), false), "Voyage estimate: 0 views, 0 s (0 periods)");
    EXPECT_EQ(DescribeEstimate(Fails("'x' is not a valid floating point value.", 3, 0), false),
              "This voyage would stop at area 3 with the message: 'x' is not a valid floating "
              "point value.");
    EXPECT_EQ(DescribeEstimate(Fails(messages::DataNotCorrect, 0, 12), false),
              "This voyage would stop at line 12 with the message: Some Data is not correct. "
              "Please review your values.");
    EXPECT_EQ(DescribeEstimate(Fails(messages::DataNotCorrect, 0, 0), false),
              "This voyage would stop at its start with the message: Some Data is not correct. "
              "Please review your values.");
    EXPECT_NE(DescribeEstimate(Stopped(Outcome::NeverEnds), false).find("Only Stop ends it"),
              std::string::npos);
    EXPECT_NE(DescribeEstimate(Stopped(Outcome::TooLong), false).find("too many snapshots"),
              std::string::npos);
}

} // namespace
} // namespace tembrel::test
