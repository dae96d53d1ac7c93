#pragma once

#include "SimOptions.h"

#include <functional>
#include <string>
#include <vector>

namespace tembrel {

// The grid rows and memo text a run starts with.
struct SimInputs {
    std::vector<GridRow> grid;
    std::string memoText;
};

// Reads --grid and --memo (the examples when absent). An unreadable file or
// a bad grid is a UsageError.
SimInputs LoadSimInputs(const SimOptions& options);

class HeadlessWindow;

// Fills a fresh window with the run's inputs: the active tab, the eight
// edits, the grid rows and the memo.
void FillWindow(HeadlessWindow& window, const SimOptions& options, const SimInputs& inputs);

// Runs the real controller on a headless window and a virtual clock and
// passes on the output lines, "<seconds> <event>", in order, as the run goes.
void RunSimulation(const SimOptions& options, const SimInputs& inputs,
                   const std::function<void(const std::string&)>& output);

// The same, with the lines returned together.
std::vector<std::string> RunSimulation(const SimOptions& options, const SimInputs& inputs);

} // namespace tembrel
