#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace tembrel {

// A figure with a target: a benchmark's time against a baseline measured in
// the same run (a ratio), or, without a baseline, its time per iteration
// against a limit in nanoseconds.
struct BenchTarget {
    std::string label;
    std::string subject;
    std::string baseline; // empty: limit is in nanoseconds
    double limit;
};

// Shows the runs as the console reporter does and keeps each benchmark's real
// and CPU time per iteration (the medians when it was repeated), so that the
// targets can be printed after the run. Targets are judged on CPU time: the
// real time of a file job also holds the disk's waits, which are the same for
// both sides of a ratio but vary widely from one repetition to the next, and
// that of any job grows with the machine's load.
class TargetReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // Prints one line per target; a target whose benchmarks did not run is
    // left out. Returns how many targets were missed.
    int PrintTargets(std::ostream& out, std::span<const BenchTarget> targets) const;

private:
    struct Times {
        double real;
        double cpu;
    };
    std::map<std::string, Times> nanosecondsPerIteration_;
};

} // namespace tembrel
