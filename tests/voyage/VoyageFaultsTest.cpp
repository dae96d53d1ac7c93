// The voyage's guards: in progress as a flag of its own (not a latitude),
// the idle window after a failed start, a line counter past 16 bits, and
// refresh periods the timer cannot hold, and one voyage per folder.
#include "VoyageErrors.h"
#include "VoyageHarness.h"

#include "RecordingTimerBackend.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tembrel::test {
namespace {

const std::string Ended = "box information The voyage has been ended.";
const std::string NotCorrect = "box error Some Data is not correct. Please review your values.";
const std::string LockUnusable =
    "box error Tembrel cannot lock TembrelData.KML.lock in this folder, so it cannot keep a "
    "second copy out. Remove that file or folder, or start this voyage from another folder.";
const std::string AnotherTembrel =
    "box error Another Tembrel is already writing TembrelData.KML in this folder. Stop that "
    "voyage first, or start this one from another folder.";

// One list of what the controller did, in order: calls that change the
// view, and each arming or disarming of the timer.
using Calls = std::vector<std::string>;

const char* KindName(LockKind kind) {
    return kind == LockKind::ReadOnly ? "readonly" : "enabled";
}

// Forwards to a headless window and notes every call that changes it.
class RecordingView final : public VoyageView {
public:
    RecordingView(HeadlessWindow& inner, Calls& calls) : inner_(inner), calls_(calls) {}

    void SetProgress(std::int64_t p) override {
        calls_.push_back("progress " + std::to_string(p));
        inner_.SetProgress(p);
    }
    void AddProgress(std::int64_t s) override {
        calls_.push_back("add " + std::to_string(s));
        inner_.AddProgress(s);
    }
    void SetStartCaption(const std::string& c) override {
        calls_.push_back("caption " + c);
        inner_.SetStartCaption(c);
    }
    void SetStartVisible(bool v) override {
        calls_.push_back(v ? "start shown" : "start hidden");
        inner_.SetStartVisible(v);
    }
    void SetAreaLabelCaption(const std::string& c) override { inner_.SetAreaLabelCaption(c); }
    void SetAreaLabelVisible(bool v) override {
        calls_.push_back(v ? "label shown" : "label hidden");
        inner_.SetAreaLabelVisible(v);
    }
    void SetAreasPanelEnabled(bool e) override {
        calls_.push_back(e ? "panel on" : "panel off");
        inner_.SetAreasPanelEnabled(e);
    }
    void FocusRefreshEdit() override {
        calls_.push_back("focus");
        inner_.FocusRefreshEdit();
    }
    void SetFieldState(LockKind kind, Control control, bool enable) override {
        calls_.push_back(std::string("field ") + KindName(kind) + " " +
                         std::to_string(static_cast<int>(control)) + (enable ? " on" : " off"));
        inner_.SetFieldState(kind, control, enable);
    }
    ModalResult ShowMessage(const std::string& text, BoxType type, unsigned buttons) override {
        calls_.push_back("message " + text);
        return inner_.ShowMessage(text, type, buttons);
    }
    void ShowDefaultErrorBox(const std::string& text) override {
        calls_.push_back("errorbox " + text);
        inner_.ShowDefaultErrorBox(text);
    }
    void ShowTickFault(const std::string& text) override {
        calls_.push_back("tickfault " + text);
        inner_.ShowTickFault(text);
    }
    void TickFaultCleared() override {
        calls_.push_back("tickfault cleared");
        inner_.TickFaultCleared();
    }

private:
    HeadlessWindow& inner_;
    Calls& calls_;
};

// The lock of the Start sequence: seven edits read-only (E_LatD, E_LonD,
// E_VE, E_VS, E_VA, E_VEast, E_VSouth), then the memo disabled.
const Calls LockCalls = {"field readonly 0 off", "field readonly 1 off", "field readonly 2 off",
                         "field readonly 3 off", "field readonly 6 off", "field readonly 4 off",
                         "field readonly 5 off", "field enabled 8 off"};
const Calls UnlockCalls = {"field readonly 0 on", "field readonly 1 on", "field readonly 2 on",
                           "field readonly 3 on", "field readonly 6 on", "field readonly 4 on",
                           "field readonly 5 on", "field enabled 8 on"};

std::vector<std::string> Join(std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

struct Recorded {
    ScratchDirectory scratch;
    VirtualClock clock;
    HeadlessWindow inner{clock};
    Calls calls;
    RecordingView view{inner, calls};
    RecordingTimerBackend backend{calls, &clock};
    TimerModel timer{backend};
    ViewFileWriter writer{scratch.Path()};
    VoyageState state;
    VoyageController controller{state, view, inner, timer, writer};
    Recorded() {
        inner.SetTickHandler([this] { controller.Tick(); });
        controller.Create();
    }
};

TEST(VoyageSequences, EndVoyageOrder) {
    Recorded r;
    r.inner.SetEditText(InputEdit::E_VR, "1");
    r.inner.SetEditText(InputEdit::E_VA, "250");
    r.inner.SetMemoText("0, 1");
    r.inner.SetActivePage(Page::TS_Points);
    r.controller.Start();
    r.calls.clear();
    r.clock.RunUntil(1000);
    const std::vector<std::string> expected = Join({
        {"disarm"}, // the point step
        LockCalls,
        {"panel off", "focus", "caption Start Voyage", "start hidden"},
        {"message The voyage has been ended."}, // EndVoyage: the timer is off already
        UnlockCalls,
        {"panel on", "caption Start Voyage", "start shown", "progress 0", "label hidden"},
    });
    EXPECT_EQ(r.calls, expected);
}

TEST(VoyageSequences, AreaStartOrder) {
    Recorded r;
    r.inner.SetEditText(InputEdit::E_LatD, "48.86");
    r.inner.SetEditText(InputEdit::E_LonD, "2.2877");
    r.inner.SetEditText(InputEdit::E_VE, "1");
    r.inner.SetEditText(InputEdit::E_VS, "0.4");
    r.inner.SetEditText(InputEdit::E_VEast, "0.3");
    r.inner.SetEditText(InputEdit::E_VSouth, "0.2");
    r.inner.SetEditText(InputEdit::E_VA, "250");
    r.inner.SetEditText(InputEdit::E_VR, "10");
    r.controller.Start();
    const std::vector<std::string> expected = Join({LockCalls,
                                                    {"panel off", "focus", "caption Start Voyage",
                                                     "start hidden", "progress 0", "arm 10000"}});
    EXPECT_EQ(r.calls, expected);
}

TEST(VoyageSequences, FailedStartRecoversInEndVoyageOrderWithoutItsMessage) {
    Recorded r;
    r.inner.SetEditText(InputEdit::E_VR, "10");
    r.controller.Start(); // the empty latitude fails the plan
    const std::vector<std::string> expected = Join({
        LockCalls,
        {"panel off", "focus", "caption Start Voyage", "start hidden", "progress 0"},
        {"message Some Data is not correct. Please review your values."}, // no timer to stop
        UnlockCalls,
        {"panel on", "caption Start Voyage", "start shown", "progress 0", "label hidden"},
    });
    EXPECT_EQ(r.calls, expected);
}

// In progress is its own flag: a voyage at latitude 0 can be paused and stopped.
struct InProgressCase {
    const char* name;
    Page page;
    bool pauseFirst;
};

class VoyageOnLatitudeZero : public ::testing::TestWithParam<InProgressCase> {};

TEST_P(VoyageOnLatitudeZero, PauseAndStopAct) {
    const InProgressCase& c = GetParam();
    VoyageHarness h;
    h.window.SetActivePage(c.page);
    h.window.SetMemoText("10, 0\n20, 0");
    h.SetEdit(InputEdit::E_VA, "250");
    h.SetEdit(InputEdit::E_VR, "10");
    h.Start();
    ASSERT_EQ(h.state.CurLat, 0.0f);
    ASSERT_TRUE(h.state.InProgress);
    if (c.pauseFirst) {
        h.Pause();
        EXPECT_TRUE(h.state.Paused);
        EXPECT_FALSE(h.window.Timer().Enabled());
        EXPECT_EQ(h.window.StartCaption(), "Resume Voyage");
        EXPECT_TRUE(h.window.StartVisible());
    }
    h.Stop();
    EXPECT_EQ(h.EventsOf("box").back(), At(0, Ended));
    h.ExpectIdleLayout();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VoyageOnLatitudeZero,
    ::testing::Values(InProgressCase{"PointOnTheEquatorPause", Page::TS_Points, true},
                      InProgressCase{"PointOnTheEquatorStop", Page::TS_Points, false},
                      // An empty grid: nothing planned, the list done, the timer on.
                      InProgressCase{"EmptyAreaListPause", Page::TS_MAreas, true},
                      InProgressCase{"EmptyAreaListStop", Page::TS_MAreas, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InProgress, EquatorPointsStillFlyOnAfterResume) {
    VoyageHarness h;
    h.window.SetActivePage(Page::TS_Points);
    h.window.SetMemoText("10, 0\n20, 0");
    h.SetEdit(InputEdit::E_VA, "250");
    h.SetEdit(InputEdit::E_VR, "10");
    h.Start();
    h.RunTo(15);
    h.Pause();
    h.Start();
    h.RunToEnd();
    EXPECT_EQ(h.EventsOf("view"),
              (std::vector<Event>{At(10, "view 10 0 250"), At(25, "view 20 0 250")}));
}

// A failed start, pressed or begun by a tick: its message once, then the idle
// layout; ItemNo stays so that Start goes on from the same row or line.
struct FailedStartCase {
    const char* name;
    Page page;
    std::function<void(VoyageHarness&)> setUp;
    std::int64_t failSeconds;
    std::string message;
    std::int32_t itemNo;
};

class FailedStart : public ::testing::TestWithParam<FailedStartCase> {};

TEST_P(FailedStart, ReturnsToIdle) {
    const FailedStartCase& c = GetParam();
    VoyageHarness h;
    h.window.SetActivePage(c.page);
    h.SetArea("48.86", "2.2877", "1", "0.4", "0.3", "0.2", "250", "10");
    c.setUp(h);
    h.Start();
    h.RunTo(c.failSeconds);
    const std::vector<Event> boxes = h.EventsOf(c.message.substr(0, c.message.find(' ')));
    EXPECT_EQ(boxes, (std::vector<Event>{At(c.failSeconds, c.message)})) << Describe(boxes);
    h.ExpectIdleLayout();
    EXPECT_EQ(h.state.ItemNo, c.itemNo);
    EXPECT_FALSE(h.clock.Pending());
    // Idle means idle: Pause does nothing, Start can be pressed again.
    h.Pause();
    EXPECT_FALSE(h.state.Paused);
    EXPECT_EQ(h.window.StartCaption(), "Start Voyage");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedStart,
    ::testing::Values(
        FailedStartCase{"AreaBadLatitude", Page::TS_Area,
                        [](VoyageHarness& h) { h.SetEdit(InputEdit::E_LatD, "north"); }, 0,
                        NotCorrect, 1},
        FailedStartCase{"AreaBadRefreshAfterTheView", Page::TS_Area,
                        [](VoyageHarness& h) { h.SetEdit(InputEdit::E_VR, "2.5"); }, 0, NotCorrect,
                        1},
        FailedStartCase{
            "AreaUnwritableFile", Page::TS_Area,
            [](VoyageHarness& h) { std::filesystem::create_directory(h.writer.Path()); }, 0,
            NotCorrect, 1},
        FailedStartCase{"AreasBlankCell", Page::TS_MAreas,
                        [](VoyageHarness& h) { h.SetGridRow(0, "10", " ", "0.3", "0.2"); }, 0,
                        "errorbox ' ' is not a valid floating point value.", 1},
        FailedStartCase{"AreasSecondRowFromATick", Page::TS_MAreas,
                        [](VoyageHarness& h) {
                            h.SetGridRow(0, "10", "20", "0.3", "0.2");
                            h.SetGridRow(1, "11", "20", "0.3", "x");
                        },
                        20, "errorbox 'x' is not a valid floating point value.", 2},
        FailedStartCase{"PointThreeNumbers", Page::TS_Points,
                        [](VoyageHarness& h) { h.window.SetMemoText("1, 2, 3"); }, 0, NotCorrect,
                        1},
        FailedStartCase{"PointSecondLineFromATick", Page::TS_Points,
                        [](VoyageHarness& h) { h.window.SetMemoText("0, 1\n, 2\n0, 3"); }, 10,
                        NotCorrect, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FailedStart, CorrectedRowContinuesThere) {
    VoyageHarness h;
    h.window.SetActivePage(Page::TS_MAreas);
    h.SetArea("", "", "", "", "0.3", "0.2", "250", "10");
    h.SetGridRow(0, "10", "20", "0.3", "0.2");
    h.SetGridRow(1, "11", "20", "0.3", "x");
    h.Start();
    h.RunToEnd();
    ASSERT_EQ(h.state.ItemNo, 2);
    h.window.SetGridCell(3, 1, "0.2");
    h.window.ClearEvents();
    h.Start();
    EXPECT_EQ(h.window.Events(),
              (std::vector<Event>{At(20, "label shown"),
                                  At(20, "view 20.0015411376953 10.9991111755371 250")}))
        << Describe(h.window.Events());
    EXPECT_EQ(h.window.AreaLabelCaption(), "Now scanning area no. 2");
}

TEST(FailedStart, CorrectedLineContinuesThere) {
    VoyageHarness h;
    h.window.SetActivePage(Page::TS_Points);
    h.SetEdit(InputEdit::E_VA, "250");
    h.SetEdit(InputEdit::E_VR, "10");
    h.window.SetMemoText("0, 1\n, 2\n0, 3");
    h.Start();
    h.RunToEnd();
    ASSERT_EQ(h.state.ItemNo, 2);
    h.window.SetMemoText("0, 1\n0, 2\n0, 3");
    h.window.ClearEvents();
    h.Start();
    h.RunToEnd();
    EXPECT_EQ(h.EventsOf("view"),
              (std::vector<Event>{At(20, "view 0 2 250"), At(30, "view 0 3 250")}));
}

TEST(LineCounter, MemoBeyond32767LinesKeepsCounting) {
    // A Stop at line 32767 leaves ItemNo there; the voyage then runs past the
    // 16-bit limit without wrapping and ends at the last line.
    VoyageHarness h;
    h.window.SetActivePage(Page::TS_Points);
    h.SetEdit(InputEdit::E_VA, "250");
    h.SetEdit(InputEdit::E_VR, "1");
    std::vector<std::string> lines;
    for (int i = 0; i < 32770; ++i) {
        lines.push_back(std::to_string(i) + ", 1");
    }
    h.window.SetMemoLines(lines);
    h.state.ItemNo = 32767;
    h.Start();
    std::vector<std::int32_t> itemNos;
    for (int second = 1; second <= 3; ++second) {
        h.RunTo(second);
        itemNos.push_back(h.state.ItemNo);
    }
    EXPECT_EQ(itemNos, (std::vector<std::int32_t>{32768, 32769, 32770}));
    h.RunToEnd();
    EXPECT_EQ(h.EventsOf("view"),
              (std::vector<Event>{At(1, "view 32766 1 250"), At(2, "view 32767 1 250"),
                                  At(3, "view 32768 1 250"), At(4, "view 32769 1 250")}));
    EXPECT_EQ(h.EventsOf("box"), (std::vector<Event>{At(4, Ended)}));
    EXPECT_EQ(h.state.ItemNo, 1);
}

struct RefreshCase {
    const char* text;
    std::int32_t milliseconds; // -1: refused
};

void PrintTo(const RefreshCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class RefreshPeriods : public ::testing::TestWithParam<RefreshCase> {};

TEST_P(RefreshPeriods, Milliseconds) {
    const RefreshCase& c = GetParam();
    if (c.milliseconds >= 0) {
        EXPECT_EQ(VoyageController::RefreshMilliseconds(c.text), c.milliseconds);
    } else {
        try {
            VoyageController::RefreshMilliseconds(c.text);
            ADD_FAILURE() << "accepted '" << c.text << "'";
        } catch (const ConversionError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(c.text) + "' is not a valid integer value");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RefreshPeriods,
                         ::testing::Values(RefreshCase{"10", 10000}, RefreshCase{"0", -1},
                                           RefreshCase{"-0", -1}, RefreshCase{" 7", 7000},
                                           RefreshCase{"$10", 16000},
                                           RefreshCase{"2147483", 2147483000},
                                           RefreshCase{"2147484", -1}, RefreshCase{"-1", -1},
                                           RefreshCase{"-2147483648", -1},
                                           RefreshCase{"$FFFFFFFF", -1}, RefreshCase{"2.5", -1},
                                           RefreshCase{"", -1}, RefreshCase{"7 ", -1}));

// The refused periods through each start.
struct RefusedPeriodCase {
    const char* name;
    Page page;
    const char* refresh;
    std::vector<Event> expected;
};

class RefusedPeriod : public ::testing::TestWithParam<RefusedPeriodCase> {};

TEST_P(RefusedPeriod, StartFailsAndReturnsToIdle) {
    const RefusedPeriodCase& c = GetParam();
    VoyageHarness h;
    h.window.SetActivePage(c.page);
    h.SetArea("10", "20", "0.3", "0.2", "0.3", "0.2", "250", c.refresh);
    h.SetGridRow(0, "10", "20", "0.3", "0.2");
    h.window.SetMemoText("0, 1");
    h.Start();
    EXPECT_EQ(h.window.Events(), c.expected) << Describe(h.window.Events());
    h.ExpectIdleLayout();
    EXPECT_FALSE(h.clock.Pending());
}

const std::string SmallView = "view 20.0015411376953 9.99911117553711 250";

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedPeriod,
    ::testing::Values(
        RefusedPeriodCase{
            "AreaTooLong", Page::TS_Area, "2147484", {At(0, SmallView), At(0, NotCorrect)}},
        RefusedPeriodCase{
            "AreaNegative", Page::TS_Area, "-10", {At(0, SmallView), At(0, NotCorrect)}},
        // A period of 0 would never tick: the voyage would stand at its first view.
        RefusedPeriodCase{"AreaZero", Page::TS_Area, "0", {At(0, SmallView), At(0, NotCorrect)}},
        RefusedPeriodCase{
            "AreasTooLong",
            Page::TS_MAreas,
            "3000000",
            {At(0, "label shown"), At(0, "label Now scanning area no. 1"), At(0, SmallView),
             At(0, "errorbox '3000000' is not a valid integer value."), At(0, "label hidden")}},
        RefusedPeriodCase{"AreasNegative",
                          Page::TS_MAreas,
                          "-1",
                          {At(0, "label shown"), At(0, "label Now scanning area no. 1"),
                           At(0, SmallView), At(0, "errorbox '-1' is not a valid integer value."),
                           At(0, "label hidden")}},
        RefusedPeriodCase{"AreasZero",
                          Page::TS_MAreas,
                          "0",
                          {At(0, "label shown"), At(0, "label Now scanning area no. 1"),
                           At(0, SmallView), At(0, "errorbox '0' is not a valid integer value."),
                           At(0, "label hidden")}},
        RefusedPeriodCase{"PointTooLong", Page::TS_Points, "2147484", {At(0, NotCorrect)}},
        RefusedPeriodCase{"PointNegative", Page::TS_Points, "-5", {At(0, NotCorrect)}},
        RefusedPeriodCase{"PointZero", Page::TS_Points, "0", {At(0, NotCorrect)}}),
    [](const auto& info) { return std::string(info.param.name); });

// Two windows on one folder: the second start is refused, without a view
// written or a tick set, for as long as the first voyage runs or is paused.
TEST(OneVoyagePerFolder, SecondStartWaitsUntilTheFirstVoyageEnds) {
    VoyageHarness first;
    VoyageHarness second(first.scratch.Path());
    first.SetHelpExample();
    second.SetHelpExample();
    second.SetEdit(InputEdit::E_LatD, "10");
    first.Start();

    second.Start();
    EXPECT_EQ(second.window.Events(), (std::vector<Event>{At(0, AnotherTembrel)}))
        << Describe(second.window.Events());
    second.ExpectIdleLayout();
    EXPECT_FALSE(second.clock.Pending());

    first.RunTo(25);
    first.Pause();
    second.window.ClearEvents();
    second.Start();
    EXPECT_EQ(second.EventsOf("box"), (std::vector<Event>{At(0, AnotherTembrel)}));
    first.Start(); // resumes without asking for the lock again
    first.RunToEnd();
    EXPECT_EQ(first.EventsOf("box"), (std::vector<Event>{At(75, Ended)}));

    second.window.ClearEvents();
    second.Start();
    EXPECT_EQ(second.EventsOf("view"),
              (std::vector<Event>{At(0, "view 2.28924155235291 9.99911117553711 250")}));
    EXPECT_TRUE(second.EventsOf("box").empty());
    // Now the first is the one refused.
    first.window.ClearEvents();
    first.Start();
    EXPECT_EQ(first.window.Events(),
              (std::vector<Event>{Event{first.clock.Now(), AnotherTembrel}}));
}

TEST(OneVoyagePerFolder, StopAndAFailedStartLetTheFolderGo) {
    VoyageHarness first;
    VoyageHarness second(first.scratch.Path());
    first.SetHelpExample();
    second.SetHelpExample();
    first.Start();
    first.RunTo(15);
    first.Stop();
    second.Start();
    EXPECT_TRUE(second.EventsOf("box").empty()) << Describe(second.window.Events());
    EXPECT_TRUE(second.window.Timer().Enabled());
    second.Stop();

    first.SetEdit(InputEdit::E_VA, "high");
    first.window.ClearEvents();
    first.Start();
    EXPECT_EQ(first.EventsOf("box"), (std::vector<Event>{Event{first.clock.Now(), NotCorrect}}));
    second.window.ClearEvents();
    second.Start();
    EXPECT_TRUE(second.EventsOf("box").empty()) << Describe(second.window.Events());
    EXPECT_TRUE(second.window.Timer().Enabled());
}

// A folder with the user's files at the lock's name cannot be replaced, and
// without a lock no second copy could be kept out: the start is refused.
TEST(OneVoyagePerFolder, AFolderAtTheLocksNameRefusesTheStart) {
    VoyageHarness harness;
    const std::filesystem::path lock = harness.scratch.Path() / "TembrelData.KML.lock";
    std::filesystem::create_directory(lock);
    std::ofstream(lock / "kept.txt") << "the user's own text\n";
    harness.SetHelpExample();
    harness.Start();
    EXPECT_EQ(harness.window.Events(), (std::vector<Event>{At(0, LockUnusable)}))
        << Describe(harness.window.Events());
    harness.ExpectIdleLayout();
    EXPECT_FALSE(harness.clock.Pending());
    EXPECT_FALSE(std::filesystem::exists(harness.scratch.Path() / "TembrelData.KML"));
    EXPECT_TRUE(std::filesystem::exists(lock / "kept.txt"));

    std::filesystem::remove_all(lock);
    harness.window.ClearEvents();
    harness.Start();
    EXPECT_TRUE(harness.EventsOf("box").empty()) << Describe(harness.window.Events());
    EXPECT_TRUE(harness.window.Timer().Enabled());
}

} // namespace
} // namespace tembrel::test
