// The number text of the view file, one value per iteration.
#include "NumberText.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>

namespace tembrel {
namespace {

// What the view file shows: float coordinates and integer ranges.
const std::array<Extended, 8> ViewFileValues = {
    48.86f, 2.2877f, -122.41f, 0.0001f, 48.859111785888671875L, 30.0f, 250, -5,
};

void BM_FormatNumber(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatNumber(ViewFileValues[i], '.'));
        i = (i + 1) % ViewFileValues.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatNumber)->Repetitions(5)->ReportAggregatesOnly(true);

// Values that need the full extended significand take the slower path.
const std::array<Extended, 4> ExtendedValues = {
    1.0L / 3,
    2.0L / 3,
    48.86L,
    1 + 46116 * 0x1p-63L,
};

void BM_FormatNumberExtended(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatNumber(ExtendedValues[i], '.'));
        i = (i + 1) % ExtendedValues.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatNumberExtended)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
} // namespace tembrel
