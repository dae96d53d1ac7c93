// Runs the benchmarks, then prints each figure that has a target.
#include "TargetReporter.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <vector>

namespace {

const tembrel::BenchTarget Targets[] = {
    {"WriteViewFile against a bare open/write/close+rename", "BM_WriteViewFile", "BM_ViewFileFloor",
     1.5},
    {"FormatNumber, view file values", "BM_FormatNumber", "", 1000},
    {"Area-step tick against its bare WriteViewFile", "BM_AreaStepTick", "BM_AreaStepWriteFloor",
     1.2},
    {"Point start over a 32767-line memo, point on the last line", "BM_PointStartLongMemo", "",
     1000000},
};

} // namespace

int main(int argc, char** argv) {
    // Repetitions of the subject and its floor run interleaved in random order,
    // so that a slow spell of the disk does not fall on one side only. A flag
    // given on the command line comes later and wins.
    std::vector<char*> args(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) {
        return 1;
    }
    tembrel::TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::cout << '\n';
    reporter.PrintTargets(std::cout, Targets);
    benchmark::Shutdown();
    return 0;
}
