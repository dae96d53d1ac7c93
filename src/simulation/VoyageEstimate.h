#pragma once

#include <cstdint>
#include <string>

namespace tembrel {

// How many views a voyage shows and how long it runs, as VoyageEstimator
// works them out.
struct VoyageEstimate {
    enum class Outcome {
        Ends,      // the figures below hold
        NeverEnds, // no tick ever comes, or the walk never leaves a row or the area
        TooLong,   // too many snapshots to count (or to time in 64 bits)
        Fails,     // the voyage would stop with a message: failure
    };

    Outcome outcome = Outcome::Ends;
    // Views Google Earth is shown: the centres an area's voyage visits (its
    // first centre even when no row is visited, since the start writes it),
    // or the point lines a points voyage loads.
    std::int64_t views = 0;
    // Timer periods up to "The voyage has been ended.".
    std::int64_t periods = 0;
    // Their length; periods differ only where the timer's interval does.
    std::int64_t milliseconds = 0;
    // Fails: the message the voyage would show, and where: the area number
    // (Multiple Areas) or the 1-based memo line (points), 0 when neither.
    std::string failure;
    std::int32_t failedArea = 0;
    std::int32_t failedLine = 0;

    bool operator==(const VoyageEstimate&) const = default;
};

// "0 s", "10 s", "1 min 10 s", "2 h 0 min 5 s", "3 d 1 h 0 min 0 s".
std::string FormatDuration(std::int64_t milliseconds);

// One line for the user. timeLeft words it as what is left of a running
// voyage rather than the whole of one about to start.
std::string DescribeEstimate(const VoyageEstimate& estimate, bool timeLeft);

} // namespace tembrel
