// The Area tab's voyage on the virtual clock: timing, views, gauge, Pause,
// Stop, tab switches and a view file that cannot be written.
#include "GaugeModel.h"
#include "VoyageHarness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace tembrel::test {
namespace {

const std::string Ended = "box information The voyage has been ended.";
const std::string NotCorrect = "box error Some Data is not correct. Please review your values.";
const std::string Missing = "box error Some data is missing. Please complete your data.";
const std::string StopQuestion = "box confirmation Are you sure you want to stop the voyage?";

// The help example's six centres, row by row.
const std::string Row1Col1 = "view 2.28924155235291 48.8591117858887 250";
const std::string Row1Col2 = "view 2.29232478141785 48.8591117858887 250";
const std::string Row1Col3 = "view 2.29540801048279 48.8591117858887 250";
const std::string Row2Col1 = "view 2.28924155235291 48.8573341369629 250";
const std::string Row2Col2 = "view 2.29232478141785 48.8573341369629 250";
const std::string Row2Col3 = "view 2.29540801048279 48.8573341369629 250";

TEST(AreaVoyage, HelpExampleTimesViewsAndGauge) {
    VoyageHarness h;
    h.SetHelpExample();
    h.Start();
    h.RunToEnd();
    const std::vector<Event> expected = {
        At(0, Row1Col1),
        At(10, Row1Col1),
        At(10, "gauge 166666667"),
        At(20, Row1Col2),
        At(20, "gauge 333333334"),
        At(30, Row1Col3),
        At(30, "gauge 500000001"),
        At(40, Row2Col1),
        At(40, "gauge 666666668"),
        At(50, Row2Col2),
        At(50, "gauge 833333335"),
        At(60, Row2Col3),
        At(60, "gauge 1000000000"),
        At(70, Ended),
        At(70, "gauge 0"),
    };
    EXPECT_EQ(h.window.Events(), expected) << Describe(h.window.Events());
    EXPECT_EQ(h.window.EndNotices(), 1);
    EXPECT_EQ(h.state.ItemNo, 1);
    h.ExpectIdleLayout();
    EXPECT_FALSE(h.clock.Pending());
}

TEST(AreaVoyage, HelpExampleGaugeShowsWholePercentages) {
    VoyageHarness h;
    h.SetHelpExample();
    h.Start();
    h.RunToEnd();
    // In whole percent of the gauge's full scale, as the gauge shows it.
    std::vector<std::int64_t> shown;
    for (const Event& event : h.EventsOf("gauge")) {
        shown.push_back(std::stoll(event.text.substr(6)) * 100 / GaugeMaximum);
    }
    EXPECT_EQ(shown, (std::vector<std::int64_t>{16, 33, 50, 66, 83, 100, 0}));
}

TEST(AreaVoyage, StartLocksTheInputsAndArmsTheTimer) {
    VoyageHarness h;
    h.SetHelpExample();
    h.Start();
    const HeadlessWindow::FieldState lockedEdit{true, true, HeadlessWindow::LockedColour};
    for (Control control : {Control::E_LatD, Control::E_LonD, Control::E_VE, Control::E_VS,
                            Control::E_VA, Control::E_VEast, Control::E_VSouth}) {
        EXPECT_EQ(h.window.Field(control), lockedEdit) << static_cast<int>(control);
    }
    EXPECT_EQ(h.window.Field(Control::M_Points),
              (HeadlessWindow::FieldState{false, false, HeadlessWindow::LockedColour}));
    // The refresh period stays editable and is never touched.
    EXPECT_EQ(h.window.Field(Control::E_VR), HeadlessWindow::FieldState{});
    EXPECT_EQ(h.window.RefreshFocusCount(), 1);
    EXPECT_FALSE(h.window.AreasPanelEnabled());
    EXPECT_FALSE(h.window.StartVisible());
    EXPECT_EQ(h.window.StartCaption(), "Start Voyage");
    EXPECT_TRUE(h.window.Timer().Enabled());
    EXPECT_EQ(h.window.Timer().Interval(), 10000);
    EXPECT_TRUE(h.state.InProgress);
    EXPECT_EQ(h.state.SnapshotCount, 6);
}

TEST(AreaVoyage, TallAreaEndsWithGaugeShortOfFull) {
    // 184 snapshots planned, 3 x 47 = 141 centres visited.
    VoyageHarness h;
    h.SetArea("31.55125", "29.79862", "1.2", "9.4", "0.3", "0.2", "250", "1");
    h.Start();
    h.RunToEnd();
    EXPECT_EQ(h.state.SnapshotCount, 184);
    const std::vector<Event> views = h.EventsOf("view");
    ASSERT_EQ(views.size(), 142u);
    EXPECT_EQ(views[0].text, "view 29.8001613616943 31.5503616333008 250");
    EXPECT_EQ(views[1].text, views[0].text);
    std::set<std::string> longitudes;
    std::set<std::string> latitudes;
    for (std::size_t i = 1; i < views.size(); ++i) {
        EXPECT_EQ(views[i].time, static_cast<std::int64_t>(i) * 1000);
        const std::string& text = views[i].text;
        const auto space1 = text.find(' ', 5);
        const auto space2 = text.find(' ', space1 + 1);
        longitudes.insert(text.substr(5, space1 - 5));
        latitudes.insert(text.substr(space1 + 1, space2 - space1 - 1));
        // Row by row: the column cycles 0, 1, 2.
        EXPECT_EQ(text.substr(5, space1 - 5), views[1 + (i - 1) % 3].text.substr(5, space1 - 5))
            << i;
    }
    EXPECT_EQ(longitudes.size(), 3u);
    EXPECT_EQ(latitudes.size(), 47u);
    const std::vector<Event> gauges = h.EventsOf("gauge");
    ASSERT_EQ(gauges.size(), 142u);
    for (std::size_t i = 0; i < 141; ++i) {
        EXPECT_EQ(gauges[i], At(static_cast<std::int64_t>(i) + 1,
                                "gauge " + std::to_string(5434783 * (i + 1))));
    }
    EXPECT_EQ(gauges[140].text, "gauge 766304403");
    const std::vector<Event> tail(h.window.Events().end() - 2, h.window.Events().end());
    EXPECT_EQ(tail, (std::vector<Event>{At(142, Ended), At(142, "gauge 0")}));
}

// Areas whose plan and visits differ, each event for event.
struct AreaCase {
    const char* name;
    const char* width;
    const char* height;
    std::vector<Event> expected;
};

class AreaShapes : public ::testing::TestWithParam<AreaCase> {};

TEST_P(AreaShapes, EventsMatch) {
    const AreaCase& c = GetParam();
    VoyageHarness h;
    h.SetArea("48.86", "2.2877", c.width, c.height, "0.3", "0.2", "250", "10");
    h.Start();
    h.RunToEnd();
    EXPECT_EQ(h.window.Events(), c.expected) << Describe(h.window.Events());
    h.ExpectIdleLayout();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AreaShapes,
    ::testing::Values(
        // 0.9 / 0.3 is just below 3 in extended precision: 2 columns planned,
        // 3 visited, so the gauge is full before the last view.
        AreaCase{"WidthThreeSnapshotsCountsTwo",
                 "0.9",
                 "0.2",
                 {At(0, Row1Col1), At(10, Row1Col1), At(10, "gauge 500000000"), At(20, Row1Col2),
                  At(20, "gauge 1000000000"), At(30, Row1Col3), At(40, Ended), At(40, "gauge 0")}},
        // Narrower than a snapshot: no columns planned, one centre per row,
        // and the gauge never moves.
        AreaCase{"NarrowerThanSnapshot",
                 "0.2",
                 "0.4",
                 {At(0, Row1Col1), At(10, Row1Col1), At(20, Row2Col1), At(30, Ended)}},
        // Lower than a snapshot: the start's view, then the first tick ends it.
        AreaCase{"LowerThanSnapshot", "1", "0.1", {At(0, Row1Col1), At(10, Ended)}}),
    [](const auto& info) { return std::string(info.param.name); });

// Negative snapshot sizes make an area that never ends.
struct NegativeCase {
    const char* name;
    const char* snapWidth;
    const char* snapHeight;
    bool longitudeFalls; // within the first row
    bool latitudeRises;  // from row to row
};

class NegativeSnapshots : public ::testing::TestWithParam<NegativeCase> {};

TEST_P(NegativeSnapshots, RunUntilStopped) {
    const NegativeCase& c = GetParam();
    VoyageHarness h;
    h.SetArea("48.86", "2.2877", "1", "0.4", c.snapWidth, c.snapHeight, "250", "1");
    h.Start();
    h.RunTo(50);
    EXPECT_TRUE(h.window.Timer().Enabled());
    EXPECT_TRUE(h.state.InProgress);
    EXPECT_TRUE(h.EventsOf("box").empty());
    EXPECT_EQ(h.EventsOf("view").size(), 51u);
    if (c.longitudeFalls) {
        EXPECT_LT(h.state.CurLon, h.state.RowStartLon);
    }
    if (c.latitudeRises) {
        EXPECT_GT(h.state.CurLat, h.state.EndLat);
        EXPECT_GT(h.state.CurLat, 48.86f);
    }
    h.Stop();
    EXPECT_EQ(h.EventsOf("box"), (std::vector<Event>{At(50, StopQuestion), At(50, Ended)}));
    h.ExpectIdleLayout();
}

INSTANTIATE_TEST_SUITE_P(Cases, NegativeSnapshots,
                         ::testing::Values(NegativeCase{"Width", "-0.3", "0.2", true, false},
                                           NegativeCase{"Height", "0.3", "-0.2", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AreaVoyage, PauseThenResumeKeepsTheOldPeriod) {
    // GIVEN a running help example, WHEN it is paused at 25 s, E_VR changed to 3
    // and resumed at 40 s, THEN the next tick comes one old period after the
    // resume and the voyage goes on where it stood.
    VoyageHarness h;
    h.SetHelpExample();
    h.Start();
    h.RunTo(25);
    h.Pause();
    EXPECT_FALSE(h.window.Timer().Enabled());
    EXPECT_EQ(h.window.StartCaption(), "Resume Voyage");
    EXPECT_TRUE(h.window.StartVisible());
    EXPECT_TRUE(h.state.Paused);
    EXPECT_EQ(h.window.Field(Control::E_LatD).readOnly, true);
    h.SetEdit(InputEdit::E_VR, "3");
    h.RunTo(40);
    h.window.ClearEvents();
    h.Start();
    EXPECT_EQ(h.window.StartCaption(), "Start Voyage");
    EXPECT_FALSE(h.window.StartVisible());
    EXPECT_FALSE(h.state.Paused);
    EXPECT_EQ(h.window.Timer().Interval(), 10000);
    h.RunToEnd();
    const std::vector<Event> expected = {
        At(50, Row1Col3), At(50, "gauge 500000001"), At(60, Row2Col1), At(60, "gauge 666666668"),
        At(70, Row2Col2), At(70, "gauge 833333335"), At(80, Row2Col3), At(80, "gauge 1000000000"),
        At(90, Ended),    At(90, "gauge 0"),
    };
    EXPECT_EQ(h.window.Events(), expected) << Describe(h.window.Events());
}

TEST(AreaVoyage, ResumeWithEmptyRefreshStillResumes) {
    VoyageHarness h;
    h.SetHelpExample();
    h.Start();
    h.RunTo(15);
    h.Pause();
    h.SetEdit(InputEdit::E_VR, "");
    h.Start();
    EXPECT_TRUE(h.window.Timer().Enabled());
    EXPECT_EQ(h.window.Timer().Interval(), 10000);
    h.RunTo(25);
    EXPECT_EQ(h.EventsOf("view").back(), At(25, Row1Col2));
}

struct StopCase {
    const char* name;
    bool running;
    ModalResult answer;
    bool ends;
};

class StopAnswers : public ::testing::TestWithParam<StopCase> {};

TEST_P(StopAnswers, EndOnlyWhenConfirmedAndRunning) {
    const StopCase& c = GetParam();
    VoyageHarness h;
    h.SetHelpExample();
    if (c.running) {
        h.Start();
    }
    h.RunTo(15);
    h.window.ClearEvents();
    h.Stop(c.answer);
    std::vector<Event> expected = {At(15, StopQuestion)};
    if (c.ends) {
        expected.push_back(At(15, Ended));
        expected.push_back(At(15, "gauge 0"));
    }
    EXPECT_EQ(h.window.Events(), expected) << Describe(h.window.Events());
    // The end is told once, and only when the voyage really ends.
    EXPECT_EQ(h.window.EndNotices(), c.ends ? 1 : 0);
    EXPECT_EQ(h.window.Timer().Enabled(), c.running && !c.ends);
    EXPECT_EQ(h.state.InProgress, c.running && !c.ends);
    EXPECT_TRUE(h.window.StartVisible() != (c.running && !c.ends));
    if (c.ends) {
        h.ExpectIdleLayout();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, StopAnswers,
                         ::testing::Values(StopCase{"RunningYes", true, ModalResult::Yes, true},
                                           StopCase{"RunningNo", true, ModalResult::No, false},
                                           // The box's own close box is not a No.
                                           StopCase{"RunningClosed", true, ModalResult::Cancel,
                                                    true},
                                           StopCase{"IdleYes", false, ModalResult::Yes, false},
                                           StopCase{"IdleNo", false, ModalResult::No, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AreaVoyage, StopQuestionOutlivedByTheVoyage) {
    // Ticks run while the question is open; when the voyage ends meanwhile,
    // the Yes that follows ends nothing.
    VoyageHarness h;
    h.SetHelpExample();
    h.Start();
    h.RunTo(65);
    h.window.ClearEvents();
    h.window.QueueAnswer(HeadlessWindow::Answer{ModalResult::Yes, [&] { h.RunTo(80); }});
    RunHandler(h.window, [&] { h.controller.Stop(); });
    EXPECT_EQ(h.window.Events(),
              (std::vector<Event>{At(65, StopQuestion), At(70, Ended), At(70, "gauge 0")}))
        << Describe(h.window.Events());
    EXPECT_EQ(h.window.EndNotices(), 1);
    h.ExpectIdleLayout();
}

TEST(AreaVoyage, PauseWithNothingInProgressDoesNothing) {
    VoyageHarness h;
    h.SetHelpExample();
    h.Pause();
    EXPECT_EQ(h.window.StartCaption(), "Start Voyage");
    EXPECT_FALSE(h.state.Paused);
    EXPECT_TRUE(h.window.Events().empty());
}

TEST(AreaVoyage, PauseStopStartPlansAfresh) {
    VoyageHarness h;
    h.SetHelpExample();
    h.Start();
    h.RunTo(25);
    h.Pause();
    h.Stop();
    EXPECT_FALSE(h.state.Paused);
    h.RunTo(30);
    h.window.ClearEvents();
    h.Start();
    h.RunTo(40);
    EXPECT_EQ(h.window.Events(),
              (std::vector<Event>{At(30, Row1Col1), At(40, Row1Col1), At(40, "gauge 166666667")}))
        << Describe(h.window.Events());
}

TEST(AreaVoyage, AllEightEditsEmptyRefusesToStart) {
    VoyageHarness h;
    h.Start();
    EXPECT_EQ(h.window.Events(), (std::vector<Event>{At(0, Missing)}));
    EXPECT_EQ(h.window.Field(Control::E_LatD), HeadlessWindow::FieldState{});
    EXPECT_EQ(h.window.Field(Control::M_Points), HeadlessWindow::FieldState{});
    EXPECT_TRUE(h.window.StartVisible());
    EXPECT_FALSE(h.state.InProgress);
    EXPECT_TRUE(h.window.AreasPanelEnabled());
}

TEST(AreaVoyage, IncompleteInputsKeepAPausedVoyagePaused) {
    VoyageHarness h;
    h.SetHelpExample();
    h.Start();
    h.RunTo(15);
    h.Pause();
    h.window.SetActivePage(Page::TS_Points);
    h.window.SetMemoText("");
    h.Start();
    EXPECT_EQ(h.EventsOf("box").back(), At(15, Missing));
    EXPECT_TRUE(h.state.Paused);
    EXPECT_EQ(h.window.StartCaption(), "Resume Voyage");
    EXPECT_TRUE(h.window.StartVisible());
    EXPECT_FALSE(h.window.Timer().Enabled());
}

// One edit filled is enough for the input check; the empty others then fail
// at their conversion, after a view when only E_VR is empty.
struct OneEditCase {
    const char* name;
    InputEdit edit;
};

class OneEditFilled : public ::testing::TestWithParam<OneEditCase> {};

TEST_P(OneEditFilled, PassesTheCheckAndFailsTheConversion) {
    VoyageHarness h;
    h.SetEdit(GetParam().edit, " ");
    EXPECT_TRUE(h.controller.InputsComplete());
    h.Start();
    EXPECT_EQ(h.window.Events(), (std::vector<Event>{At(0, NotCorrect)}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OneEditFilled,
    ::testing::Values(OneEditCase{"LatD", InputEdit::E_LatD},
                      OneEditCase{"LonD", InputEdit::E_LonD}, OneEditCase{"VE", InputEdit::E_VE},
                      OneEditCase{"VS", InputEdit::E_VS}, OneEditCase{"VEast", InputEdit::E_VEast},
                      OneEditCase{"VSouth", InputEdit::E_VSouth},
                      OneEditCase{"VA", InputEdit::E_VA}, OneEditCase{"VR", InputEdit::E_VR}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadTextCase {
    const char* name;
    InputEdit edit;
    const char* text;
    bool viewWritten;
};

class BadAreaText : public ::testing::TestWithParam<BadTextCase> {};

TEST_P(BadAreaText, StartShowsTheDataMessage) {
    const BadTextCase& c = GetParam();
    VoyageHarness h;
    h.SetHelpExample();
    h.SetEdit(c.edit, c.text);
    h.Start();
    std::vector<Event> expected;
    if (c.viewWritten) {
        expected.push_back(At(0, Row1Col1));
    }
    expected.push_back(At(0, NotCorrect));
    EXPECT_EQ(h.window.Events(), expected) << Describe(h.window.Events());
    EXPECT_FALSE(h.window.Timer().Enabled());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadAreaText,
    ::testing::Values(BadTextCase{"EmptyLatitude", InputEdit::E_LatD, "", false},
                      BadTextCase{"LetterInWidth", InputEdit::E_VE, "1a", false},
                      BadTextCase{"FractionalAltitude", InputEdit::E_VA, "250.5", false},
                      BadTextCase{"ZeroSnapshotWidth", InputEdit::E_VEast, "0", false},
                      BadTextCase{"EmptyRefresh", InputEdit::E_VR, "", true},
                      BadTextCase{"FractionalRefresh", InputEdit::E_VR, "2.5", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AreaVoyage, SwitchToPointsTabTakesThePointStep) {
    // The tick on the Points tab writes the current centre, moves ItemNo on
    // to 2 and searches the memo from line 1.
    VoyageHarness h;
    h.SetHelpExample();
    h.window.SetMemoText("30.102, 31.215\n-25.365, 16.2145");
    h.Start();
    h.RunTo(15);
    h.window.SetActivePage(Page::TS_Points);
    h.window.ClearEvents();
    h.RunToEnd();
    const std::vector<Event> expected = {
        At(20, Row1Col2),
        At(20, "gauge 666666667"), // 166666667 + 500000000 from the point start
        At(30, "view -25.3649997711182 16.2145004272461 250"),
        At(30, Ended),
        At(30, "gauge 0"),
    };
    EXPECT_EQ(h.window.Events(), expected) << Describe(h.window.Events());
    EXPECT_EQ(h.state.ItemNo, 1);
}

TEST(AreaVoyage, SwitchToAreasTabMovesOnToTheNextRow) {
    // At the end of the area, the Multiple Areas tab leads to area ItemNo + 1.
    VoyageHarness h;
    h.SetArea("48.86", "2.2877", "0.3", "0.2", "0.3", "0.2", "250", "10");
    h.SetGridRow(1, "10", "20", "0.3", "0.2");
    h.Start();
    h.window.SetActivePage(Page::TS_MAreas);
    h.RunTo(20);
    EXPECT_EQ(h.state.ItemNo, 2);
    EXPECT_EQ(h.window.AreaLabelCaption(), "Now scanning area no. 2");
    EXPECT_EQ(h.EventsOf("view").back(), At(20, "view 20.0015411376953 9.99911117553711 250"));
}

TEST(AreaVoyage, SwitchToAreasTabWithListDoneEndsAtTheNextTick) {
    VoyageHarness h;
    // An earlier Multiple Areas voyage over an empty grid leaves AreasDone set.
    h.window.SetActivePage(Page::TS_MAreas);
    h.Start();
    h.RunToEnd();
    ASSERT_TRUE(h.state.AreasDone);
    h.window.SetActivePage(Page::TS_Area);
    h.SetHelpExample();
    h.Start();
    h.window.SetActivePage(Page::TS_MAreas);
    h.window.ClearEvents();
    h.RunToEnd();
    EXPECT_EQ(h.window.Events(), (std::vector<Event>{At(11, Ended)}))
        << Describe(h.window.Events());
}

TEST(AreaVoyage, UnwritableViewFileShowsOneBoxWhileTheTicksRetry) {
    // GIVEN a running voyage, WHEN the view file's name is taken by a folder
    // for the ticks at 20, 30 and 40 s, THEN one error box opens and stays
    // while the ticks go on without stepping; the tick at 50 s writes the
    // centre the tick at 20 s could not, the box closes, and the voyage goes
    // on one step per period.
    VoyageHarness h;
    h.SetHelpExample();
    h.Start();
    h.RunTo(15);
    const std::filesystem::path blocker = h.writer.Path();
    std::filesystem::remove(blocker);
    std::filesystem::create_directory(blocker);
    h.window.ClearEvents();
    h.RunTo(45);
    EXPECT_EQ(h.window.Events(), (std::vector<Event>{At(20, "errorbox File access denied.")}));
    EXPECT_TRUE(h.window.Timer().Enabled());
    EXPECT_TRUE(h.window.TickFaultOpen());
    std::filesystem::remove(blocker);
    h.window.ClearEvents();
    h.RunTo(60);
    EXPECT_EQ(h.window.Events(), (std::vector<Event>{At(50, Row1Col2), At(50, "gauge 333333334"),
                                                     At(50, "errorbox closed"), At(60, Row1Col3),
                                                     At(60, "gauge 500000001")}))
        << Describe(h.window.Events());
    EXPECT_FALSE(h.window.TickFaultOpen());
}

TEST(AreaVoyage, TickFaultBoxClosedByTheUserOpensAgainOnTheNextFault) {
    // One box at a time, not one per fault: after OK, a fault that persists
    // shows the box again at the next tick.
    VoyageHarness h;
    h.SetHelpExample();
    h.Start();
    std::filesystem::remove(h.writer.Path());
    std::filesystem::create_directory(h.writer.Path());
    h.RunTo(25);
    h.window.CloseTickFault();
    h.RunTo(35);
    EXPECT_EQ(h.window.Events(),
              (std::vector<Event>{At(0, Row1Col1), At(10, "errorbox File access denied."),
                                  At(30, "errorbox File access denied.")}))
        << Describe(h.window.Events());
}

TEST(AreaVoyage, StopClosesAnOpenTickFaultBox) {
    VoyageHarness h;
    h.SetHelpExample();
    h.Start();
    std::filesystem::remove(h.writer.Path());
    std::filesystem::create_directory(h.writer.Path());
    h.RunTo(15);
    h.window.ClearEvents();
    h.Stop();
    EXPECT_EQ(h.window.Events(),
              (std::vector<Event>{At(15, StopQuestion), At(15, "errorbox closed"), At(15, Ended)}))
        << Describe(h.window.Events());
    h.ExpectIdleLayout();
}

TEST(AreaVoyage, CommaSeparatorReadsAndWritesCommas) {
    VoyageHarness h;
    h.controller.SetDecimalSeparator(',');
    h.SetArea("48,86", "2,2877", "1", "0,4", "0,3", "0,2", "250", "10");
    h.Start();
    h.RunTo(20);
    EXPECT_EQ(h.EventsOf("view"),
              (std::vector<Event>{At(0, "view 2,28924155235291 48,8591117858887 250"),
                                  At(10, "view 2,28924155235291 48,8591117858887 250"),
                                  At(20, "view 2,29232478141785 48,8591117858887 250")}));
}

TEST(AreaVoyage, SeparatorChangedMidVoyageFailsTheTickConversion) {
    // The separator is read at every event: with "," the "." of the snapshot
    // width no longer converts, after the tick has written its view.
    VoyageHarness h;
    h.SetHelpExample();
    h.Start();
    h.RunTo(5);
    h.controller.SetDecimalSeparator(',');
    h.window.ClearEvents();
    h.RunTo(10);
    EXPECT_EQ(h.window.Events(),
              (std::vector<Event>{At(10, "view 2,28924155235291 48,8591117858887 250"),
                                  At(10, "errorbox '0.3' is not a valid floating point value.")}));
    EXPECT_TRUE(h.window.Timer().Enabled());
    // The fault holds: the view is written again at each tick, the box stays.
    h.window.ClearEvents();
    h.RunTo(20);
    EXPECT_EQ(h.window.Events(),
              (std::vector<Event>{At(20, "view 2,28924155235291 48,8591117858887 250")}));
}

} // namespace
} // namespace tembrel::test

namespace tembrel::test {
namespace {

struct StepCase {
    std::int32_t count;
    std::int32_t step;
};

void PrintTo(const StepCase& c, std::ostream* out) {
    *out << c.count;
}

class ProgressSteps : public ::testing::TestWithParam<StepCase> {};

TEST_P(ProgressSteps, RoundedToNearestWithTiesToEven) {
    EXPECT_EQ(VoyageController::ProgressStep(GetParam().count), GetParam().step);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgressSteps,
                         ::testing::Values(StepCase{1, 1000000000}, StepCase{3, 333333333},
                                           StepCase{6, 166666667}, StepCase{7, 142857143},
                                           StepCase{184, 5434783}, StepCase{32767, 30519},
                                           // Halves (2.5, 0.5, 12.5, 62.5) go to the even side.
                                           StepCase{400000000, 2}, StepCase{2000000000, 0},
                                           StepCase{80000000, 12}, StepCase{16000000, 62}));

} // namespace
} // namespace tembrel::test
