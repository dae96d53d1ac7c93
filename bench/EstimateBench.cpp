// The estimate runs the real controller on a virtual clock: the longest
// voyage it counts (its whole tick budget) against the bare tick loop of the
// same controller, and the example grid's 184-snapshot area (141 centres
// visited).
#include "HeadlessWindow.h"
#include "QuietView.h"
#include "TimerModel.h"
#include "ViewFileWriter.h"
#include "VirtualClock.h"
#include "VoyageController.h"
#include "VoyageEstimator.h"
#include "VoyageState.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace tembrel {
namespace {

// Counts instead of writing.
class CountingWriter final : public ViewFileWriter {
public:
    void WriteViewFile(const VoyageState&, char) const override { ++writes_; }
    ViewFileLock::Result LockFolder(ViewFileLock&) const override {
        return ViewFileLock::Result::Unguarded;
    }

private:
    mutable std::int64_t writes_ = 0;
};

// Ten million columns: the walk outlasts the estimate's tick budget.
void SetLongestArea(HeadlessWindow& window) {
    const char* texts[] = {"10", "10", "100000", "0.01", "0.01", "0.01", "250", "10"};
    for (int i = 0; i < 8; ++i) {
        window.SetEditText(static_cast<InputEdit>(i), texts[i]);
    }
}

void BM_EstimateLongestVoyage(benchmark::State& bench) {
    VirtualClock clock;
    HeadlessWindow window(clock);
    SetLongestArea(window);
    const VoyageEstimator estimator(window, window.Timer(), '.');
    for (auto _ : bench) {
        const VoyageEstimate estimate = estimator.BeforeStart(1);
        if (estimate.outcome != VoyageEstimate::Outcome::TooLong) {
            throw std::logic_error("the longest voyage is not too long");
        }
        benchmark::DoNotOptimize(estimate);
    }
}
BENCHMARK(BM_EstimateLongestVoyage)->Unit(benchmark::kMillisecond);

// The same ticks, called one after another on the controller.
void BM_EstimateTickFloor(benchmark::State& bench) {
    VirtualClock clock;
    HeadlessWindow inputs(clock);
    SetLongestArea(inputs);
    for (auto _ : bench) {
        QuietView view;
        const CountingWriter writer;
        TimerModel timer(clock);
        VoyageState state;
        state.ItemNo = 1;
        VoyageController controller(state, view, inputs, timer, writer);
        controller.Start();
        for (std::int64_t tick = 0; tick < VoyageEstimator::DefaultTickBudget; ++tick) {
            controller.Tick();
        }
        benchmark::DoNotOptimize(state);
    }
}
BENCHMARK(BM_EstimateTickFloor)->Unit(benchmark::kMillisecond);

void BM_EstimateExampleGrid(benchmark::State& bench) {
    VirtualClock clock;
    HeadlessWindow window(clock);
    window.SetActivePage(Page::TS_MAreas);
    window.SetEditText(InputEdit::E_VEast, "0.3");
    window.SetEditText(InputEdit::E_VSouth, "0.2");
    window.SetEditText(InputEdit::E_VA, "250");
    window.SetEditText(InputEdit::E_VR, "10");
    const char* rows[2][4] = {{"30.124555", "31.254447", "2.5", "0.54"},
                              {"31.55125", "29.79862", "1.2", "9.4"}};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 4; ++column) {
            window.SetGridCell(column, row, rows[row][column]);
        }
    }
    const VoyageEstimator estimator(window, window.Timer(), '.');
    for (auto _ : bench) {
        benchmark::DoNotOptimize(estimator.BeforeStart(1));
    }
}
BENCHMARK(BM_EstimateExampleGrid)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tembrel
