// The timer's rules, the virtual clock under them, and the headless window's
// own bookkeeping (memo lines, field states, gauge and label events).
#include "TimerModel.h"
#include "HeadlessWindow.h"
#include "VirtualClock.h"

#include "RecordingTimerBackend.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tembrel {
namespace {

struct TimerStep {
    enum Kind { Enable, Disable, Interval } kind;
    std::int32_t interval = 0;
};

struct TimerCase {
    const char* name;
    std::vector<TimerStep> steps;
    std::vector<std::string> calls;
};

void PrintTo(const TimerCase& c, std::ostream* out) {
    *out << c.name;
}

class TimerRules : public ::testing::TestWithParam<TimerCase> {};

TEST_P(TimerRules, BackendCalls) {
    std::vector<std::string> calls;
    test::RecordingTimerBackend backend(calls);
    TimerModel timer(backend);
    for (const TimerStep& step : GetParam().steps) {
        switch (step.kind) {
        case TimerStep::Enable:
            timer.SetEnabled(true);
            break;
        case TimerStep::Disable:
            timer.SetEnabled(false);
            break;
        case TimerStep::Interval:
            timer.SetInterval(step.interval);
            break;
        }
    }
    EXPECT_EQ(calls, GetParam().calls);
}

using S = TimerStep;
INSTANTIATE_TEST_SUITE_P(
    Cases, TimerRules,
    ::testing::Values(
        TimerCase{"EnableUsesTheDefaultSecond", {{S::Enable}}, {"arm 1000"}},
        TimerCase{"EnableTwiceArmsOnce", {{S::Enable}, {S::Enable}}, {"arm 1000"}},
        TimerCase{"DisableWhenOffDoesNothing", {{S::Disable}}, {}},
        TimerCase{"IntervalWhileOffArmsNothing", {{S::Interval, 5000}}, {}},
        TimerCase{"IntervalThenEnable", {{S::Interval, 5000}, {S::Enable}}, {"arm 5000"}},
        TimerCase{
            "SameIntervalWhileOnKeepsThePeriod", {{S::Enable}, {S::Interval, 1000}}, {"arm 1000"}},
        TimerCase{"NewIntervalWhileOnRestarts",
                  {{S::Enable}, {S::Interval, 3000}},
                  {"arm 1000", "arm 3000"}},
        TimerCase{"ZeroIntervalWhileOnStopsTicks",
                  {{S::Enable}, {S::Interval, 0}},
                  {"arm 1000", "disarm"}},
        TimerCase{"EnableWithZeroGivesNoTicks", {{S::Interval, 0}, {S::Enable}}, {"disarm"}},
        TimerCase{"NegativeIntervalGivesNoTicks", {{S::Interval, -5}, {S::Enable}}, {"disarm"}},
        TimerCase{"DisableThenEnableStartsAFullPeriod",
                  {{S::Enable}, {S::Disable}, {S::Enable}},
                  {"arm 1000", "disarm", "arm 1000"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TimerModel, KeepsItsFlagAndInterval) {
    std::vector<std::string> calls;
    test::RecordingTimerBackend backend(calls);
    TimerModel timer(backend);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000);
    timer.SetInterval(0);
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 0);
}

TEST(VirtualClock, TicksEveryIntervalFromArming) {
    VirtualClock clock;
    std::vector<VirtualClock::Milliseconds> ticks;
    clock.SetTickHandler([&] { ticks.push_back(clock.Now()); });
    clock.RunUntil(500);
    clock.Arm(1000);
    clock.RunUntil(3500);
    EXPECT_EQ(ticks, (std::vector<VirtualClock::Milliseconds>{1500, 2500, 3500}));
    EXPECT_EQ(clock.Now(), 3500);
    clock.Disarm();
    clock.RunUntil(10000);
    EXPECT_EQ(ticks.size(), 3u);
    EXPECT_FALSE(clock.Pending());
}

TEST(VirtualClock, RearmingFromATickRestartsThePeriod) {
    VirtualClock clock;
    std::vector<VirtualClock::Milliseconds> ticks;
    clock.SetTickHandler([&] {
        ticks.push_back(clock.Now());
        if (ticks.size() == 2) {
            clock.Arm(300);
        }
    });
    clock.Arm(1000);
    clock.RunUntil(2700);
    EXPECT_EQ(ticks, (std::vector<VirtualClock::Milliseconds>{1000, 2000, 2300, 2600}));
}

TEST(VirtualClock, TicksComeBeforeActionsOfTheSameTime) {
    VirtualClock clock;
    std::vector<std::string> order;
    clock.SetTickHandler([&] { order.push_back("tick " + std::to_string(clock.Now())); });
    clock.ScheduleAt(2000, [&] { order.push_back("first " + std::to_string(clock.Now())); });
    clock.ScheduleAt(2000, [&] { order.push_back("second " + std::to_string(clock.Now())); });
    clock.ScheduleAt(500, [&] { order.push_back("early " + std::to_string(clock.Now())); });
    clock.Arm(1000);
    EXPECT_EQ(clock.NextDue(), 500);
    clock.RunUntil(2000);
    EXPECT_EQ(order, (std::vector<std::string>{"early 500", "tick 1000", "tick 2000", "first 2000",
                                               "second 2000"}));
}

TEST(VirtualClock, NestedRunInsideATick) {
    // A modal box opened by a tick lets time pass; the outer run goes on after.
    VirtualClock clock;
    std::vector<VirtualClock::Milliseconds> ticks;
    clock.SetTickHandler([&] {
        ticks.push_back(clock.Now());
        if (ticks.size() == 1) {
            clock.RunUntil(clock.Now() + 2500);
        }
    });
    clock.Arm(1000);
    clock.RunUntil(5000);
    EXPECT_EQ(ticks, (std::vector<VirtualClock::Milliseconds>{1000, 2000, 3000, 4000, 5000}));
    EXPECT_EQ(clock.Now(), 5000);
}

TEST(VirtualClock, PastActionsRunAtOnceAndNothingPendingStops) {
    VirtualClock clock;
    clock.RunUntil(1000);
    int runs = 0;
    clock.ScheduleAt(200, [&] { ++runs; });
    EXPECT_EQ(clock.NextDue(), 1000);
    clock.RunUntil(1000);
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(clock.Pending());
    EXPECT_EQ(clock.NextDue(), std::nullopt);
}

struct SplitCase {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
};

void PrintTo(const SplitCase& c, std::ostream* out) {
    *out << c.name;
}

class MemoLines : public ::testing::TestWithParam<SplitCase> {};

TEST_P(MemoLines, Split) {
    EXPECT_EQ(HeadlessWindow::SplitLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, MemoLines,
                         ::testing::Values(SplitCase{"Empty", "", {}},
                                           SplitCase{"OneBreak", "\n", {""}},
                                           SplitCase{"NoFinalBreak", "a\nb", {"a", "b"}},
                                           SplitCase{"FinalBreakAddsNoLine", "a\nb\n", {"a", "b"}},
                                           SplitCase{"TwoFinalBreaks", "a\n\n", {"a", ""}},
                                           SplitCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
                                           // As the window's memo: CR, LF and
                                           // CR LF each break a line.
                                           SplitCase{"LoneCr", "a\rb\r", {"a", "b"}},
                                           SplitCase{"CrThenCrLf", "a\r\r\n", {"a", ""}},
                                           SplitCase{"LfThenCr", "a\n\rb", {"a", "", "b"}},
                                           SplitCase{"BlanksKept", "  \n b ", {"  ", " b "}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HeadlessWindow, SetFieldStateKinds) {
    VirtualClock clock;
    HeadlessWindow window(clock);
    using FS = HeadlessWindow::FieldState;
    EXPECT_EQ(window.Field(Control::E_LatD), (FS{false, true, "window"}));
    window.SetFieldState(LockKind::ReadOnly, Control::E_LatD, false);
    EXPECT_EQ(window.Field(Control::E_LatD), (FS{true, true, "infobk"}));
    window.SetFieldState(LockKind::ReadOnly, Control::E_LatD, true);
    EXPECT_EQ(window.Field(Control::E_LatD), (FS{false, true, "white"}));
    window.SetFieldState(LockKind::Enabled, Control::M_Points, false);
    EXPECT_EQ(window.Field(Control::M_Points), (FS{false, false, "infobk"}));
}

TEST(HeadlessWindow, GaugeAndLabelRecordOnlyChanges) {
    VirtualClock clock;
    HeadlessWindow window(clock);
    window.SetProgress(0);
    window.AddProgress(600000000);
    window.AddProgress(600000000);
    window.AddProgress(5);
    window.AddProgress(-2000000000);
    window.SetAreaLabelVisible(false);
    window.SetAreaLabelVisible(true);
    window.SetAreaLabelCaption("Now scanning area no. ");
    window.SetAreaLabelCaption("Now scanning area no. 4");
    const std::vector<HeadlessWindow::Event> expected = {{0, "gauge 600000000"},
                                                         {0, "gauge 1000000000"},
                                                         {0, "gauge 0"},
                                                         {0, "label shown"},
                                                         {0, "label Now scanning area no. 4"}};
    EXPECT_EQ(window.Events(), expected);
}

TEST(HeadlessWindow, BoxesAnswerFromTheScript) {
    VirtualClock clock;
    HeadlessWindow window(clock);
    bool opened = false;
    window.QueueAnswer(ModalResult::No);
    window.QueueAnswer(HeadlessWindow::Answer{ModalResult::Cancel, [&] { opened = true; }});
    EXPECT_EQ(window.ShowMessage("q1", BoxType::Confirmation, ButtonYes | ButtonNo),
              ModalResult::No);
    EXPECT_EQ(window.ShowMessage("note", BoxType::Information, ButtonOk), ModalResult::Ok);
    EXPECT_EQ(window.ShowMessage("q2", BoxType::Confirmation, ButtonYes | ButtonNo),
              ModalResult::Cancel);
    EXPECT_TRUE(opened);
    window.ShowDefaultErrorBox("Disk full.");
    const std::vector<HeadlessWindow::Event> expected = {{0, "box confirmation q1"},
                                                         {0, "box information note"},
                                                         {0, "box confirmation q2"},
                                                         {0, "errorbox Disk full."}};
    EXPECT_EQ(window.Events(), expected);
}

TEST(HeadlessWindow, EscapingTickErrorIsShownAndTheTimerRuns) {
    VirtualClock clock;
    HeadlessWindow window(clock);
    int ticks = 0;
    window.SetTickHandler([&] {
        ++ticks;
        throw std::runtime_error("I/O error 32");
    });
    window.Timer().SetEnabled(true);
    clock.RunUntil(2000);
    EXPECT_EQ(ticks, 2);
    EXPECT_TRUE(window.Timer().Enabled());
    const std::vector<HeadlessWindow::Event> expected = {{1000, "errorbox I/O error 32."},
                                                         {2000, "errorbox I/O error 32."}};
    EXPECT_EQ(window.Events(), expected);
}

} // namespace
} // namespace tembrel
