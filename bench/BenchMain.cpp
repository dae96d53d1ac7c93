// Runs the benchmarks, then prints each figure that has a target.
#include "InterleavedStart.h"
#include "TargetReporter.h"

#include <benchmark/benchmark.h>

#include <iostream>

namespace {

const tembrel::BenchTarget Targets[] = {
    {"WriteViewFile against a bare open/write/close+rename", "BM_WriteViewFile", "BM_ViewFileFloor",
     1.5},
    {"FormatNumber, view file values", "BM_FormatNumber", "", 1000},
    {"Area-step tick against its bare WriteViewFile", "BM_AreaStepTick", "BM_AreaStepWriteFloor",
     1.2},
    {"Point start over a 32767-line memo, point on the last line", "BM_PointStartLongMemo", "",
     1000000},
    {"Estimate of the longest voyage against its bare ticks", "BM_EstimateLongestVoyage",
     "BM_EstimateTickFloor", 1.5},
    {"Estimate of the longest voyage (2,000,000 ticks)", "BM_EstimateLongestVoyage", "", 500000000},
    {"Estimate of the example grid (141 centres)", "BM_EstimateExampleGrid", "", 1000000},
};

} // namespace

int main(int argc, char** argv) {
    if (!tembrel::bench::InitializeInterleaved(argc, argv)) {
        return 1;
    }
    tembrel::TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::cout << '\n';
    reporter.PrintTargets(std::cout, Targets);
    benchmark::Shutdown();
    return 0;
}
