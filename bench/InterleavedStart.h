#pragma once

#include <benchmark/benchmark.h>

#include <optional>
#include <vector>

namespace tembrel::bench {

// Starts Google Benchmark with the repetitions of each subject and its floor
// interleaved in random order over the whole run, so that a slow spell of the
// machine does not fall on one side only; a flag given on the command line
// comes later and wins. Returns the arguments it leaves (null-terminated),
// or nothing when one is not understood.
inline std::optional<std::vector<char*>> InitializeInterleaved(int argc, char** argv) {
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args(argv, argv + argc);
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) {
        return std::nullopt;
    }
    args.resize(static_cast<std::size_t>(count));
    args.push_back(nullptr);
    return args;
}

} // namespace tembrel::bench
