// The controller's area tick against the view file write it contains, and the
// point search over the longest memo a voyage is meant to handle.
#include "QuietView.h"
#include "TimerModel.h"
#include "ViewFileWriter.h"
#include "VoyageController.h"
#include "VoyageInputs.h"
#include "VoyageState.h"

#include "ScratchDirectory.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace tembrel {
namespace {

namespace fs = std::filesystem;
using test::ScratchDirectory;

// A window that only holds values, on a timer that never ticks by itself:
// what is measured is the controller.
class BenchWindow final : public QuietView, public VoyageInputs, private TimerBackend {
public:
    void Arm(std::int32_t) override {}
    void Disarm() override {}
    void SetProgress(std::int64_t progress) override { progress_ = progress; }
    void AddProgress(std::int64_t step) override { progress_ += step; }
    void SetStartCaption(const std::string& caption) override { caption_ = caption; }
    void SetStartVisible(bool visible) override { startVisible_ = visible; }
    void SetAreaLabelCaption(const std::string& caption) override { label_ = caption; }
    Page ActivePage() const override { return page; }
    std::string EditText(InputEdit edit) const override {
        return edits[static_cast<std::size_t>(edit)];
    }
    std::string GridCell(int, int) const override { return {}; }
    int MemoLineCount() const override { return static_cast<int>(memo.size()); }
    std::string MemoLine(int index) const override { return memo[static_cast<std::size_t>(index)]; }

    Page page = Page::TS_Area;
    std::array<std::string, 8> edits;
    std::vector<std::string> memo;
    TimerModel timer{*this};

private:
    std::int64_t progress_ = 0;
    std::string caption_;
    bool startVisible_ = true;
    std::string label_;
};

// 100000 columns by 10000 rows: every tick of the run is an area step.
void SetLargeArea(BenchWindow& window) {
    window.edits = {"48.86", "2.2877", "30000", "2000", "0.3", "0.2", "250", "10"};
}

void BM_AreaStepTick(benchmark::State& state) {
    const ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    BenchWindow window;
    SetLargeArea(window);
    VoyageState voyage;
    VoyageController controller(voyage, window, window, window.timer, writer);
    controller.Create();
    controller.Start();
    if (!window.timer.Enabled()) {
        state.SkipWithError("the area did not start");
        return;
    }
    for (auto _ : state) {
        controller.Tick();
    }
    if (!voyage.InProgress || voyage.CurLat < voyage.EndLat) {
        state.SkipWithError("the voyage left its area");
    }
}
BENCHMARK(BM_AreaStepTick)->Repetitions(15)->ReportAggregatesOnly(true);

// The same write of the same kind of state, without the controller around it.
void BM_AreaStepWriteFloor(benchmark::State& state) {
    const ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    VoyageState voyage;
    voyage.CurLat = 48.859111785888671875f;
    voyage.CurLon = 2.2892415523529052734375f;
    voyage.Range = 250;
    for (auto _ : state) {
        writer.WriteViewFile(voyage, '.');
    }
}
BENCHMARK(BM_AreaStepWriteFloor)->Repetitions(15)->ReportAggregatesOnly(true);

// The point start as every tick on the Points tab runs it, over the longest
// memo a voyage is meant for: 32767 lines, the only point on the last.
// ItemNo goes back to 1 before each start so that every search runs from the
// top. The tick's own view file write comes on top (BM_AreaStepWriteFloor).
void BM_PointStartLongMemo(benchmark::State& state) {
    const ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    BenchWindow window;
    window.page = Page::TS_Points;
    window.edits[static_cast<std::size_t>(InputEdit::E_VA)] = "250";
    window.edits[static_cast<std::size_t>(InputEdit::E_VR)] = "10";
    window.memo.assign(32766, "a line of text without any separator in it");
    window.memo.push_back("-25.365, 16.2145");
    VoyageState voyage;
    VoyageController controller(voyage, window, window, window.timer, writer);
    controller.Create();
    for (auto _ : state) {
        voyage.ItemNo = 1;
        controller.Start();
    }
    if (voyage.ItemIdx != 32766 || !window.timer.Enabled()) {
        state.SkipWithError("the point was not found on the last line");
    }
}
BENCHMARK(BM_PointStartLongMemo)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tembrel
