#pragma once

#include "SimOptions.h"

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

// Runs the real controller on a headless window and a virtual clock and
// returns the output lines, "<seconds> <event>", in order.
std::vector<std::string> RunSimulation(const SimOptions& options, const SimInputs& inputs);

} // namespace tembrel
