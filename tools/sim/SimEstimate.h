#pragma once

#include "SimRunner.h"

#include <string>
#include <vector>

namespace tembrel {

// tembrel-sim --estimate: the estimate of a Start at once with the run's
// inputs, as output lines: "views N", "periods N", "seconds S"; or one line
// "never ends", "too long" or "fails at area N: MESSAGE" (also "at line N",
// or no place for the start itself).
std::vector<std::string> EstimateSimulation(const SimOptions& options, const SimInputs& inputs);

} // namespace tembrel
