#include "VoyageEstimate.h"

namespace tembrel {

namespace {

std::string Count(std::int64_t count, const char* singular, const char* plural) {
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

} // namespace

std::string FormatDuration(std::int64_t milliseconds) {
    // A part of a second still has to be waited for.
    const std::int64_t total = milliseconds / 1000 + (milliseconds % 1000 > 0 ? 1 : 0);
    const std::int64_t days = total / 86400;
    const std::int64_t hours = total / 3600 % 24;
    const std::int64_t minutes = total / 60 % 60;
    const std::int64_t seconds = total % 60;
    std::string text;
    if (days > 0) {
        text += std::to_string(days) + " d ";
    }
    if (total >= 3600) {
        text += std::to_string(hours) + " h ";
    }
    if (total >= 60) {
        text += std::to_string(minutes) + " min ";
    }
    return text + std::to_string(seconds) + " s";
}

std::string DescribeEstimate(const VoyageEstimate& estimate, bool timeLeft) {
    switch (estimate.outcome) {
    case VoyageEstimate::Outcome::Ends:
        return std::string(timeLeft ? "Time left: " : "Voyage estimate: ") +
               Count(estimate.views, "view", "views") + ", " +
               FormatDuration(estimate.milliseconds) + " (" +
               Count(estimate.periods, "period", "periods") + ")";
    case VoyageEstimate::Outcome::NeverEnds:
        return "This voyage does not end by itself: no tick comes, or its steps never leave a "
               "row or the area. Only Stop ends it.";
    case VoyageEstimate::Outcome::TooLong:
        return "This voyage has too many snapshots to estimate.";
    case VoyageEstimate::Outcome::Fails:
        break;
    }
    std::string where = "at its start";
    if (estimate.failedArea > 0) {
        where = "at area " + std::to_string(estimate.failedArea);
    } else if (estimate.failedLine > 0) {
        where = "at line " + std::to_string(estimate.failedLine);
    }
    return "This voyage would stop " + where + " with the message: " + estimate.failure;
}

} // namespace tembrel
