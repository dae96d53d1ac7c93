// tembrel-sim --estimate against tembrel-sim's own run of the same inputs:
// the estimate's length is the time of "The voyage has been ended.", its
// views the centres or points the run writes, for areas, grids and memos.
#include "SimEstimate.h"
#include "ScratchDirectory.h"
#include "SimOptions.h"
#include "SimRunner.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tembrel {
namespace {

const std::vector<std::string> HelpExample = {
    "--lat", "48.86",        "--lon", "2.2877",        "--width", "1",          "--height",
    "0.4",   "--snap-width", "0.3",   "--snap-height", "0.2",     "--altitude", "250"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// Fifty complete rows of small areas, each a little larger than the last.
std::string FiftyRows() {
    std::string grid;
    for (int row = 0; row < 50; ++row) {
        grid += std::to_string(10 + row) + "\t20\t" + std::to_string(0.3 * (1 + row % 4)) + "\t" +
                std::to_string(0.2 * (1 + row % 3)) + "\n";
    }
    return grid;
}

struct EstimateCase {
    const char* name;
    std::vector<std::string> args;
    std::optional<std::string> grid; // TAB-separated rows; the example grid when absent
    std::optional<std::string> memo; // the example memo when absent
};

void PrintTo(const EstimateCase& c, std::ostream* out) {
    *out << c.name;
}

struct SimRun {
    std::vector<std::string> lines;
    std::optional<std::string> endTime; // of "The voyage has been ended."
    long views = 0;                     // view lines, a repeat of the one before not counted
    long writes = 0;                    // every view line
    long areas = 0;                     // "label Now scanning area no. N" lines
};

// Runs to untilSeconds: far past the end of every finite case.
SimRun Simulate(SimOptions options, const SimInputs& inputs, long untilSeconds = 100000) {
    const test::ScratchDirectory folder; // for the view file
    options.directory = folder.Path();
    options.until = untilSeconds * 1000;
    SimRun run;
    run.lines = RunSimulation(options, inputs);
    std::string previousView;
    for (const std::string& line : run.lines) {
        const std::size_t space = line.find(' ');
        const std::string time = line.substr(0, space);
        const std::string event = line.substr(space + 1);
        if (event.starts_with("view ")) {
            ++run.writes;
            if (event != previousView) {
                ++run.views;
            }
            previousView = event;
        } else if (event.starts_with("label Now scanning area no. ")) {
            ++run.areas;
        } else if (event == "box information The voyage has been ended.") {
            run.endTime = time;
        }
    }
    return run;
}

SimInputs Inputs(const EstimateCase& c) {
    SimInputs inputs;
    inputs.grid = c.grid ? ParseGrid(*c.grid) : ExampleGrid();
    inputs.memoText = c.memo ? *c.memo : ExampleMemo();
    return inputs;
}

std::string Describe(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

class EstimateMatchesRun : public ::testing::TestWithParam<EstimateCase> {};

TEST_P(EstimateMatchesRun, ViewsAndLength) {
    const EstimateCase& c = GetParam();
    const SimOptions options = ParseSimOptions(c.args);
    const SimInputs inputs = Inputs(c);
    const SimRun run = Simulate(options, inputs);
    const std::vector<std::string> estimate = EstimateSimulation(options, inputs);

    ASSERT_TRUE(run.endTime.has_value()) << Describe(run.lines);
    ASSERT_EQ(estimate.size(), 3u) << Describe(estimate);
    EXPECT_EQ(estimate[2], "seconds " + *run.endTime) << Describe(run.lines);
    EXPECT_EQ(estimate[0], "views " + std::to_string(run.views)) << Describe(run.lines);
    // Each area writes its first centre twice; a Multiple Areas voyage ends
    // one period after its last area; a points voyage writes once a period.
    long periods = run.writes;
    if (options.tab == Page::TS_MAreas) {
        periods += 1;
    }
    EXPECT_EQ(estimate[1], "periods " + std::to_string(periods)) << Describe(run.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Areas, EstimateMatchesRun,
    ::testing::Values(
        EstimateCase{"help_example", With(HelpExample, {"--refresh", "10"}), {}, {}},
        EstimateCase{"help_example_7s", With(HelpExample, {"--refresh", "7"}), {}, {}},
        // The plan counts 2 columns, the tick visits 3.
        EstimateCase{
            "width_0_9_by_0_3", With(HelpExample, {"--width", "0.9", "--refresh", "10"}), {}, {}},
        // SnapshotCount 184, 141 centres visited.
        EstimateCase{"area_184_141",
                     {"--lat", "31.55125", "--lon", "29.79862", "--width", "1.2", "--height", "9.4",
                      "--snap-width", "0.3", "--snap-height", "0.2", "--altitude", "250",
                      "--refresh", "10"},
                     {},
                     {}},
        // Narrower than a snapshot: one centre a row.
        EstimateCase{"narrower_than_a_snapshot",
                     With(HelpExample, {"--width", "0.1", "--refresh", "10"}),
                     {},
                     {}},
        // Lower than a snapshot: the first tick ends the voyage.
        EstimateCase{"lower_than_a_snapshot",
                     With(HelpExample, {"--height", "0.1", "--refresh", "10"}),
                     {},
                     {}},
        EstimateCase{"decimal_comma",
                     {"--lat", "48,86", "--lon", "2,2877", "--width", "1", "--height", "0,4",
                      "--snap-width", "0,3", "--snap-height", "0,2", "--altitude", "250",
                      "--refresh", "3", "--decimal-separator", ","},
                     {},
                     {}},
        EstimateCase{"southern_hemisphere_west",
                     {"--lat", "-33.91", "--lon", "-70.71", "--width", "2.5", "--height", "1.3",
                      "--snap-width", "0.25", "--snap-height", "0.1", "--altitude", "400",
                      "--refresh", "2"},
                     {},
                     {}}));

INSTANTIATE_TEST_SUITE_P(
    Grids, EstimateMatchesRun,
    ::testing::Values(EstimateCase{"example_grid",
                                   With(HelpExample, {"--tab", "areas", "--refresh", "10"}),
                                   {},
                                   {}},
                      EstimateCase{"three_small_areas",
                                   With(HelpExample, {"--tab", "areas", "--refresh", "5"}),
                                   "10\t20\t0.3\t0.2\n11\t20\t0.3\t0.2\n12\t20\t0.3\t0.2\n",
                                   {}},
                      // Row 1 empty: only row 0 is flown.
                      EstimateCase{"gap_ends_the_list",
                                   With(HelpExample, {"--tab", "areas", "--refresh", "10"}),
                                   "48.86\t2.2877\t1\t0.4\n\n50\t3\t1\t1\n",
                                   {}},
                      // Row 0 incomplete: the first tick ends the voyage, at the timer's
                      // interval of 1 s, not the refresh period.
                      EstimateCase{"no_complete_row",
                                   With(HelpExample, {"--tab", "areas", "--refresh", "10"}),
                                   "48.86\t2.2877\t1\n",
                                   {}},
                      EstimateCase{"fifty_rows",
                                   With(HelpExample, {"--tab", "areas", "--refresh", "4"}),
                                   FiftyRows(),
                                   {}}));

INSTANTIATE_TEST_SUITE_P(
    Memos, EstimateMatchesRun,
    ::testing::Values(EstimateCase{"example_memo",
                                   {"--tab", "points", "--altitude", "250", "--refresh", "10"},
                                   {},
                                   {}},
                      // Each line before the first point line costs a period of its own.
                      EstimateCase{"two_lines_then_a_point",
                                   {"--tab", "points", "--altitude", "250", "--refresh", "10"},
                                   {},
                                   "a\nb\n30.102, 31.215\n"},
                      EstimateCase{"gap_between_points",
                                   {"--tab", "points", "--altitude", "250", "--refresh", "6"},
                                   {},
                                   "30.102, 31.215\r\nx\r\ny\r\n-25.365, 16.2145\r\n"},
                      // A trailing line of blanks is no point line.
                      EstimateCase{"point_then_blanks",
                                   {"--tab", "points", "--altitude", "250", "--refresh", "10"},
                                   {},
                                   "30.102, 31.215\n   \n"},
                      EstimateCase{"memo_without_points",
                                   {"--tab", "points", "--altitude", "250", "--refresh", "10"},
                                   {},
                                   "no point\nhere\n"},
                      EstimateCase{"points_decimal_comma",
                                   {"--tab", "points", "--altitude", "250", "--refresh", "9",
                                    "--decimal-separator", ","},
                                   {},
                                   "30, 31,215\n30102E-3, -2,5\n"}));

// Voyages that do not end: the run shows no end by the time the estimate
// gives up on, and voyages that stop with a message: the run shows it.
struct OtherCase {
    const char* name;
    std::vector<std::string> args;
    std::optional<std::string> grid;
    std::optional<std::string> memo;
    const char* estimate;     // the whole estimate line
    const char* shownMessage; // a line the run must end with; nullptr: none
};

void PrintTo(const OtherCase& c, std::ostream* out) {
    *out << c.name;
}

class EstimateOfOtherVoyages : public ::testing::TestWithParam<OtherCase> {};

TEST_P(EstimateOfOtherVoyages, AgreesWithTheRun) {
    const OtherCase& c = GetParam();
    const SimOptions options = ParseSimOptions(c.args);
    const SimInputs inputs = Inputs({c.name, c.args, c.grid, c.memo});
    // Two thousand ticks at least: a view file is written at each.
    const SimRun run = Simulate(options, inputs, 20000);
    EXPECT_EQ(EstimateSimulation(options, inputs), std::vector<std::string>{c.estimate});
    EXPECT_FALSE(run.endTime.has_value()) << Describe(run.lines);
    if (c.shownMessage != nullptr) {
        bool shown = false;
        for (const std::string& line : run.lines) {
            shown = shown || line.ends_with(c.shownMessage);
        }
        EXPECT_TRUE(shown) << Describe(run.lines);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EstimateOfOtherVoyages,
    ::testing::Values(
        OtherCase{"negative_snapshot_width",
                  With(HelpExample, {"--snap-width", "-0.3", "--refresh", "10"}),
                  {},
                  {},
                  "never ends",
                  nullptr},
        OtherCase{"negative_snapshot_height",
                  With(HelpExample, {"--snap-height", "-0.2", "--refresh", "10"}),
                  {},
                  {},
                  "never ends",
                  nullptr},
        // A step east smaller than half a float's spacing at 2.3 degrees.
        OtherCase{"step_lost_in_rounding",
                  With(HelpExample, {"--snap-width", "0.00001", "--refresh", "10"}),
                  {},
                  {},
                  "never ends",
                  nullptr},
        OtherCase{"refresh_zero",
                  With(HelpExample, {"--refresh", "0"}),
                  {},
                  {},
                  "fails: Some Data is not correct. Please review your values.",
                  "box error Some Data is not correct. Please review your values."},
        OtherCase{"points_refresh_zero",
                  {"--tab", "points", "--altitude", "250", "--refresh", "0"},
                  {},
                  {},
                  "fails at line 1: Some Data is not correct. Please review your values.",
                  "box error Some Data is not correct. Please review your values."},
        OtherCase{"bad_latitude",
                  With(HelpExample, {"--lat", "x", "--refresh", "10"}),
                  {},
                  {},
                  "fails: Some Data is not correct. Please review your values.",
                  "box error Some Data is not correct. Please review your values."},
        OtherCase{"bad_refresh",
                  With(HelpExample, {"--refresh", "2.5"}),
                  {},
                  {},
                  "fails: Some Data is not correct. Please review your values.",
                  "box error Some Data is not correct. Please review your values."},
        OtherCase{"bad_second_area",
                  With(HelpExample, {"--tab", "areas", "--refresh", "10"}),
                  "48.86\t2.2877\t1\t0.4\n49\tx\t1\t1\n",
                  {},
                  "fails at area 2: 'x' is not a valid floating point value.",
                  "errorbox 'x' is not a valid floating point value."},
        OtherCase{"bad_second_point",
                  {"--tab", "points", "--altitude", "250", "--refresh", "10"},
                  {},
                  "30.102, 31.215\n1, 2, 3\n",
                  "fails at line 2: Some Data is not correct. Please review your values.",
                  "box error Some Data is not correct. Please review your values."}));

} // namespace
} // namespace tembrel
