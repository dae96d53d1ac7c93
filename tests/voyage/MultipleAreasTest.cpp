// The Multiple Areas tab: rows flown in order from ItemNo, the list's end,
// Stop and Start again, and a refresh period changed on the way.
#include "VoyageHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tembrel::test {
namespace {

const std::string Ended = "box information The voyage has been ended.";
const std::string Label1 = "label Now scanning area no. 1";
const std::string Label2 = "label Now scanning area no. 2";

// The help example's area: six centres.
const std::string Help1 = "view 2.28924155235291 48.8591117858887 250";
const std::string Help2 = "view 2.29232478141785 48.8591117858887 250";
const std::string Help3 = "view 2.29540801048279 48.8591117858887 250";
const std::string Help4 = "view 2.28924155235291 48.8573341369629 250";
const std::string Help5 = "view 2.29232478141785 48.8573341369629 250";
const std::string Help6 = "view 2.29540801048279 48.8573341369629 250";

// One-snapshot areas at latitude 10 + n, longitude 20: a single centre each.
std::string SmallView(int n) {
    static const char* latitudes[] = {"9.99911117553711", "10.9991111755371", "11.9991111755371"};
    return std::string("view 20.0015411376953 ") + latitudes[n] + " 250";
}

class AreasHarness : public VoyageHarness {
public:
    AreasHarness() {
        window.SetActivePage(Page::TS_MAreas);
        SetEdit(InputEdit::E_VEast, "0.3");
        SetEdit(InputEdit::E_VSouth, "0.2");
        SetEdit(InputEdit::E_VA, "250");
        SetEdit(InputEdit::E_VR, "10");
    }
    void SetHelpRow(int row) { SetGridRow(row, "48.86", "2.2877", "1", "0.4"); }
    void SetSmallRow(int row, int n) {
        SetGridRow(row, std::to_string(10 + n), "20", "0.3", "0.2");
    }
};

TEST(MultipleAreas, TwoAreasThenTheEmptyRowEndsTheList) {
    AreasHarness h;
    h.SetHelpRow(0);
    h.SetSmallRow(1, 0);
    h.Start();
    h.RunToEnd();
    const std::vector<Event> expected = {
        At(0, "label shown"),
        At(0, Label1),
        At(0, Help1),
        At(10, Help1),
        At(10, "gauge 166666667"),
        At(20, Help2),
        At(20, "gauge 333333334"),
        At(30, Help3),
        At(30, "gauge 500000001"),
        At(40, Help4),
        At(40, "gauge 666666668"),
        At(50, Help5),
        At(50, "gauge 833333335"),
        At(60, Help6),
        At(60, "gauge 1000000000"),
        // Area 1 done: the gauge restarts and area 2's first centre is written.
        At(70, "gauge 0"),
        At(70, Label2),
        At(70, SmallView(0)),
        At(80, SmallView(0)),
        At(80, "gauge 1000000000"),
        // Row 2 is empty: the list is done, and one period later so is the voyage.
        At(90, "gauge 0"),
        At(100, Ended),
        At(100, "label hidden"),
    };
    EXPECT_EQ(h.window.Events(), expected) << Describe(h.window.Events());
    EXPECT_EQ(h.state.ItemNo, 1);
    EXPECT_TRUE(h.state.AreasDone);
    h.ExpectIdleLayout();
}

TEST(MultipleAreas, TheTwoExampleRows) {
    AreasHarness h;
    h.SetGridRow(0, "30.124555", "31.254447", "2.5", "0.54");
    h.SetGridRow(1, "31.55125", "29.79862", "1.2", "9.4");
    h.Start();
    h.RunToEnd();
    std::vector<Event> others;
    int firstAreaViews = 0;
    int secondAreaViews = 0;
    for (const Event& event : h.window.Events()) {
        if (event.text.starts_with("view ")) {
            (event.time < 170000 ? firstAreaViews : secondAreaViews)++;
        } else if (!event.text.starts_with("gauge ") || event.text == "gauge 0") {
            others.push_back(event);
        }
    }
    // 16 centres, the first written twice; then 141 centres likewise.
    EXPECT_EQ(firstAreaViews, 17);
    EXPECT_EQ(secondAreaViews, 142);
    const std::vector<Event> expected = {
        At(0, "label shown"), At(0, Label1),   At(170, "gauge 0"),       At(170, Label2),
        At(1590, "gauge 0"),  At(1600, Ended), At(1600, "label hidden"),
    };
    EXPECT_EQ(others, expected) << Describe(others);
    EXPECT_EQ(h.window.EndNotices(), 1);
    EXPECT_EQ(h.EventsOf("view")[17], At(170, "view 29.8001613616943 31.5503616333008 250"));
}

// A first row that is not complete: nothing planned, and the first tick, one
// timer interval later, ends the voyage.
struct IncompleteCase {
    const char* name;
    int emptyColumn; // -1: the whole row empty
    bool earlierVoyage;
    std::int64_t endSeconds;
};

class IncompleteFirstRow : public ::testing::TestWithParam<IncompleteCase> {};

TEST_P(IncompleteFirstRow, EndsAtTheFirstTick) {
    const IncompleteCase& c = GetParam();
    AreasHarness h;
    if (c.earlierVoyage) {
        // An Area voyage leaves its 10 s interval on the timer.
        h.window.SetActivePage(Page::TS_Area);
        h.SetArea("48.86", "2.2877", "1", "0.1", "0.3", "0.2", "250", "10");
        h.Start();
        h.RunToEnd();
        h.window.SetActivePage(Page::TS_MAreas);
        h.window.ClearEvents();
    }
    const std::int64_t startMs = h.clock.Now();
    if (c.emptyColumn >= 0) {
        h.SetGridRow(0, "10", "20", "0.3", "0.2");
        h.window.SetGridCell(c.emptyColumn, 0, "");
    }
    h.SetSmallRow(1, 1); // never reached
    h.Start();
    EXPECT_TRUE(h.state.AreasDone);
    EXPECT_TRUE(h.window.Timer().Enabled());
    h.RunToEnd();
    const std::vector<Event> expected = {
        Event{startMs, "label shown"},
        Event{startMs + c.endSeconds * 1000, Ended},
        Event{startMs + c.endSeconds * 1000, "label hidden"},
    };
    EXPECT_EQ(h.window.Events(), expected) << Describe(h.window.Events());
    // The label was never given a number.
    EXPECT_EQ(h.window.AreaLabelCaption(), "Now scanning area no. ");
    EXPECT_EQ(h.state.ItemNo, 1);
    h.ExpectIdleLayout();
}

INSTANTIATE_TEST_SUITE_P(Cases, IncompleteFirstRow,
                         ::testing::Values(IncompleteCase{"EmptyRow", -1, false, 1},
                                           IncompleteCase{"NoLatitude", 0, false, 1},
                                           IncompleteCase{"NoLongitude", 1, false, 1},
                                           IncompleteCase{"NoWidth", 2, false, 1},
                                           IncompleteCase{"NoHeight", 3, false, 1},
                                           IncompleteCase{"AfterAnEarlierVoyage", -1, true, 10}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MultipleAreas, RowsAfterAnEmptyRowAreNeverFlown) {
    AreasHarness h;
    h.SetSmallRow(0, 0);
    h.SetSmallRow(2, 2);
    h.Start();
    h.RunToEnd();
    const std::vector<Event> expected = {
        At(0, "label shown"),       At(0, Label1),     At(0, SmallView(0)), At(10, SmallView(0)),
        At(10, "gauge 1000000000"), At(20, "gauge 0"), At(30, Ended),       At(30, "label hidden"),
    };
    EXPECT_EQ(h.window.Events(), expected) << Describe(h.window.Events());
}

TEST(MultipleAreas, AllFiftyRowsInOrder) {
    AreasHarness h;
    for (int row = 0; row < VoyageInputs::GridRowCount; ++row) {
        h.SetSmallRow(row, row);
    }
    h.Start();
    h.RunToEnd();
    std::vector<Event> labels;
    std::vector<Event> expectedLabels = {At(0, "label shown")};
    for (int area = 1; area <= 50; ++area) {
        expectedLabels.push_back(
            At(20 * (area - 1), "label Now scanning area no. " + std::to_string(area)));
    }
    expectedLabels.push_back(At(1010, "label hidden"));
    const std::vector<Event> views = h.EventsOf("view");
    ASSERT_EQ(views.size(), 100u);
    for (int area = 1; area <= 50; ++area) {
        const Event& first = views[2 * (area - 1)];
        const Event& again = views[2 * (area - 1) + 1];
        EXPECT_EQ(first.time, 20000 * (area - 1));
        EXPECT_EQ(again.time, first.time + 10000);
        EXPECT_EQ(again.text, first.text);
    }
    EXPECT_EQ(views.front().text, SmallView(0));
    EXPECT_EQ(views.back().text, "view 20.0015411376953 58.9991111755371 250");
    EXPECT_EQ(h.EventsOf("label"), expectedLabels) << Describe(h.EventsOf("label"));
    EXPECT_EQ(h.EventsOf("box"), (std::vector<Event>{At(1010, Ended)}));
    EXPECT_EQ(h.state.ItemNo, 1);
}

TEST(MultipleAreas, StopDuringAreaThreeThenStartResumesThere) {
    AreasHarness h;
    for (int row = 0; row < 3; ++row) {
        h.SetSmallRow(row, row);
    }
    h.Start();
    h.RunTo(45); // area 3 began at 40
    ASSERT_EQ(h.window.AreaLabelCaption(), "Now scanning area no. 3");
    h.Stop();
    EXPECT_EQ(h.state.ItemNo, 3);
    h.ExpectIdleLayout();
    h.RunTo(50);
    h.window.ClearEvents();
    h.Start();
    EXPECT_EQ(h.window.Events(), (std::vector<Event>{At(50, "label shown"), At(50, SmallView(2))}))
        << Describe(h.window.Events());
    EXPECT_EQ(h.window.AreaLabelCaption(), "Now scanning area no. 3");
    h.RunToEnd();
    EXPECT_EQ(h.state.ItemNo, 1);
    // After the voyage ended by itself, Start begins at area 1 again.
    h.window.ClearEvents();
    h.Start();
    EXPECT_EQ(h.EventsOf("view"), (std::vector<Event>{Event{h.clock.Now(), SmallView(0)}}));
    EXPECT_EQ(h.window.AreaLabelCaption(), "Now scanning area no. 1");
}

// E_VR changed at 25 s: area 1 keeps its 10 s period, area 2 takes the new one.
struct RefreshChangeCase {
    const char* name;
    const char* refresh;
    std::vector<Event> tail; // from 70 s on
};

class RefreshChangedMidVoyage : public ::testing::TestWithParam<RefreshChangeCase> {};

TEST_P(RefreshChangedMidVoyage, TakesEffectAtTheNextArea) {
    const RefreshChangeCase& c = GetParam();
    AreasHarness h;
    h.SetHelpRow(0);
    h.SetSmallRow(1, 0);
    h.Start();
    h.RunTo(25);
    h.SetEdit(InputEdit::E_VR, c.refresh);
    h.RunTo(65);
    EXPECT_EQ(h.EventsOf("view").size(), 7u); // 0, 10, ..., 60: area 1 unchanged
    h.window.ClearEvents();
    h.RunToEnd();
    EXPECT_EQ(h.window.Events(), c.tail) << Describe(h.window.Events());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefreshChangedMidVoyage,
    ::testing::Values(RefreshChangeCase{"Shorter",
                                        "5",
                                        {At(70, "gauge 0"), At(70, Label2), At(70, SmallView(0)),
                                         Event{75000, SmallView(0)},
                                         Event{75000, "gauge 1000000000"}, At(80, "gauge 0"),
                                         Event{85000, Ended}, Event{85000, "label hidden"}}},
                      // A period of 0 would never tick: area 2's start refuses it, as a
                      // negative one, and the voyage stops there.
                      RefreshChangeCase{"Zero",
                                        "0",
                                        {At(70, "gauge 0"), At(70, Label2), At(70, SmallView(0)),
                                         At(70, "errorbox '0' is not a valid integer value."),
                                         At(70, "label hidden")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MultipleAreas, SwitchToAreaTabEndsAtTheEndOfTheArea) {
    AreasHarness h;
    h.SetSmallRow(0, 0);
    h.SetSmallRow(1, 1);
    h.Start();
    h.RunTo(5);
    h.window.SetActivePage(Page::TS_Area);
    h.window.ClearEvents();
    h.RunToEnd();
    EXPECT_EQ(h.window.Events(),
              (std::vector<Event>{At(10, SmallView(0)), At(10, "gauge 1000000000"), At(20, Ended),
                                  At(20, "gauge 0"), At(20, "label hidden")}))
        << Describe(h.window.Events());
    EXPECT_EQ(h.state.ItemNo, 1);
}

// Failures of the start reach the default error box with their own message.
struct StartErrorCase {
    const char* name;
    int column;     // a grid cell of row 0 to spoil, or -1
    InputEdit edit; // else this edit
    const char* text;
    bool viewWritten;
    const char* message;
};

class AreasStartErrors : public ::testing::TestWithParam<StartErrorCase> {};

TEST_P(AreasStartErrors, ShownOnceInTheDefaultErrorBox) {
    const StartErrorCase& c = GetParam();
    AreasHarness h;
    h.SetSmallRow(0, 0);
    if (c.column >= 0) {
        h.window.SetGridCell(c.column, 0, c.text);
    } else {
        h.SetEdit(c.edit, c.text);
    }
    h.Start();
    std::vector<Event> expected = {At(0, "label shown"), At(0, Label1)};
    if (c.viewWritten) {
        expected.push_back(At(0, SmallView(0)));
    }
    expected.push_back(At(0, std::string("errorbox ") + c.message));
    expected.push_back(At(0, "label hidden"));
    EXPECT_EQ(h.window.Events(), expected) << Describe(h.window.Events());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AreasStartErrors,
    ::testing::Values(StartErrorCase{"BlankCell", 2, InputEdit::E_VR, " ", false,
                                     "' ' is not a valid floating point value."},
                      StartErrorCase{"LetterInLatitude", 0, InputEdit::E_VR, "1O", false,
                                     "'1O' is not a valid floating point value."},
                      StartErrorCase{"EmptySnapshotWidth", -1, InputEdit::E_VEast, "", false,
                                     "'' is not a valid floating point value."},
                      StartErrorCase{"FractionalAltitude", -1, InputEdit::E_VA, "250.5", false,
                                     "'250.5' is not a valid integer value."},
                      StartErrorCase{"EmptyRefresh", -1, InputEdit::E_VR, "", true,
                                     "'' is not a valid integer value."},
                      StartErrorCase{"WordRefresh", -1, InputEdit::E_VR, "ten", true,
                                     "'ten' is not a valid integer value."},
                      StartErrorCase{"ZeroSnapshotHeight", -1, InputEdit::E_VSouth, "0", false,
                                     "Floating point division by zero."}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tembrel::test
