#include "TargetReporter.h"

#include <iomanip>

namespace tembrel {

void TargetReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred) {
            continue;
        }
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        const std::string& name = run.run_name.function_name;
        if (median ||
            (run.run_type == Run::RT_Iteration && !nanosecondsPerIteration_.contains(name))) {
            const double toNanoseconds = 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            nanosecondsPerIteration_[name] = {run.GetAdjustedRealTime() * toNanoseconds,
                                              run.GetAdjustedCPUTime() * toNanoseconds};
        }
    }
}

int TargetReporter::PrintTargets(std::ostream& out, std::span<const BenchTarget> targets) const {
    int missed = 0;
    out << std::fixed;
    for (const BenchTarget& target : targets) {
        const auto subject = nanosecondsPerIteration_.find(target.subject);
        if (subject == nanosecondsPerIteration_.end()) {
            continue;
        }
        bool met = false;
        const Times& times = subject->second;
        if (target.baseline.empty()) {
            met = times.cpu < target.limit;
            out << target.label << ": " << std::setprecision(1) << times.cpu
                << " ns per value in CPU time, " << times.real << " ns in real time (target < "
                << std::setprecision(0) << target.limit << " ns)";
        } else {
            const auto baseline = nanosecondsPerIteration_.find(target.baseline);
            if (baseline == nanosecondsPerIteration_.end()) {
                continue;
            }
            const Times& floor = baseline->second;
            const double cpuRatio = times.cpu / floor.cpu;
            met = cpuRatio <= target.limit;
            out << target.label << ": " << std::setprecision(3) << cpuRatio
                << " x the floor in CPU time (" << std::setprecision(0) << times.cpu
                << " ns against " << floor.cpu << " ns), " << std::setprecision(3)
                << times.real / floor.real << " x in real time (" << std::setprecision(0)
                << times.real << " ns against " << floor.real
                << " ns); target <= " << std::setprecision(2) << target.limit;
        }
        out << (met ? "  OK" : "  MISSED") << '\n';
        if (!met) {
            ++missed;
        }
    }
    return missed;
}

} // namespace tembrel
