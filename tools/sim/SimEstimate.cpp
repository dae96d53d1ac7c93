#include "SimEstimate.h"

#include "HeadlessWindow.h"
#include "VirtualClock.h"
#include "VoyageEstimator.h"

namespace tembrel {

std::vector<std::string> EstimateSimulation(const SimOptions& options, const SimInputs& inputs) {
    VirtualClock clock;
    HeadlessWindow window(clock);
    FillWindow(window, options, inputs);
    // A fresh window: the voyage begins at area or line 1.
    const VoyageEstimate estimate =
        VoyageEstimator(window, window.Timer(), options.decimalSeparator).BeforeStart(1);
    switch (estimate.outcome) {
    case VoyageEstimate::Outcome::Ends:
        return {"views " + std::to_string(estimate.views),
                "periods " + std::to_string(estimate.periods),
                "seconds " + FormatSeconds(estimate.milliseconds)};
    case VoyageEstimate::Outcome::NeverEnds:
        return {"never ends"};
    case VoyageEstimate::Outcome::TooLong:
        return {"too long"};
    case VoyageEstimate::Outcome::Fails:
        break;
    }
    std::string where;
    if (estimate.failedArea > 0) {
        where = " at area " + std::to_string(estimate.failedArea);
    } else if (estimate.failedLine > 0) {
        where = " at line " + std::to_string(estimate.failedLine);
    }
    return {"fails" + where + ": " + estimate.failure};
}

} // namespace tembrel
