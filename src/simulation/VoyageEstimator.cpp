#include "VoyageEstimator.h"

#include "DefaultErrorBox.h"
#include "HeadlessWindow.h"
#include "QuietView.h"
#include "ViewFileWriter.h"
#include "VirtualClock.h"
#include "VoyageController.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

namespace tembrel {

namespace {

using Outcome = VoyageEstimate::Outcome;

// The inputs as they are now, held in a headless window: a tick reads them
// again and again, and the window's controls are slow to read. Its timer is
// the run's, on the run's clock.
void CopyInputs(const VoyageInputs& source, HeadlessWindow& copy) {
    copy.SetActivePage(source.ActivePage());
    for (int edit = 0; edit <= static_cast<int>(InputEdit::E_VR); ++edit) {
        copy.SetEditText(static_cast<InputEdit>(edit),
                         source.EditText(static_cast<InputEdit>(edit)));
    }
    for (int row = 0; row < VoyageInputs::GridRowCount; ++row) {
        for (int column = 0; column < VoyageInputs::GridColumnCount; ++column) {
            copy.SetGridCell(column, row, source.GridCell(column, row));
        }
    }
    std::vector<std::string> memo(static_cast<std::size_t>(std::max(source.MemoLineCount(), 0)));
    for (std::size_t line = 0; line < memo.size(); ++line) {
        memo[line] = source.MemoLine(static_cast<int>(line));
    }
    copy.SetMemoLines(std::move(memo));
}

// What the run shows: the end of the voyage, the error box that stops it, and
// whether a start is under way (its writes are a start's).
class SilentView final : public QuietView {
public:
    bool ended = false;
    bool tickFaulted = false;
    bool starting = false;
    std::optional<std::string> failure;

    void SetStartVisible(bool visible) override { starting = starting || !visible; }
    void VoyageEnded() override { ended = true; }
    ModalResult ShowMessage(const std::string& text, BoxType type, unsigned) override {
        if (type == BoxType::Error) {
            failure = text;
        }
        return ModalResult::Ok;
    }
    void ShowDefaultErrorBox(const std::string& text) override { failure = text; }
    void ShowTickFault(const std::string&) override { tickFaulted = true; }
};

// Counts the views a run shows instead of writing them: a write that shows
// the same centre of the same row or line as the one before shows nothing new.
class RecordingWriter final : public ViewFileWriter {
public:
    RecordingWriter(const SilentView& view, std::vector<VoyageEstimator::Write>* writes)
        : view_(view), writes_(writes) {}

    void WriteViewFile(const VoyageState& state, char) const override {
        const VoyageEstimator::Write write{state.ItemIdx, state.CurLat, state.CurLon,
                                           view_.starting};
        if (!last_ || last_->item != write.item || last_->lat != write.lat ||
            last_->lon != write.lon) {
            ++views_;
        }
        last_ = write;
        if (writes_ != nullptr) {
            writes_->push_back(write);
        }
    }
    // Nothing is written, so there is no folder to guard.
    ViewFileLock::Result LockFolder(ViewFileLock&) const override {
        return ViewFileLock::Result::Unguarded;
    }

    std::int64_t Views() const { return views_; }

private:
    const SilentView& view_;
    std::vector<VoyageEstimator::Write>* writes_;
    mutable std::optional<VoyageEstimator::Write> last_;
    mutable std::int64_t views_ = 0;
};

VoyageEstimate Stopped(Outcome outcome) {
    VoyageEstimate estimate;
    estimate.outcome = outcome;
    return estimate;
}

} // namespace

VoyageEstimator::VoyageEstimator(const VoyageInputs& inputs, const TimerModel& timer,
                                 char decimalSeparator, std::int64_t tickBudget)
    : inputs_(inputs), timer_(timer), separator_(decimalSeparator), tickBudget_(tickBudget) {}

VoyageEstimate VoyageEstimator::BeforeStart(std::int32_t itemNo, std::vector<Write>* writes) const {
    VoyageState state;
    state.ItemNo = itemNo;
    // No row or line examined yet: a start refused before the search fails
    // at no line.
    state.ItemIdx = -1;
    return Run(state, true, writes);
}

VoyageEstimate VoyageEstimator::TimeLeft(const VoyageState& state) const {
    VoyageState running = state;
    // Counted from the resume: a paused voyage goes on where it stands.
    running.Paused = false;
    return Run(running, false, nullptr);
}

VoyageEstimate VoyageEstimator::Run(VoyageState state, bool start,
                                    std::vector<Write>* writes) const {
    VirtualClock clock;
    HeadlessWindow inputs(clock);
    CopyInputs(inputs_, inputs);
    TimerModel& timer = inputs.Timer();
    timer.SetInterval(timer_.Interval());
    SilentView view;
    const RecordingWriter writer(view, writes);
    VoyageController controller(state, view, inputs, timer, writer);
    controller.SetDecimalSeparator(separator_);
    inputs.SetTickHandler([&] { controller.Tick(); });

    if (start) {
        RunHandler(view, [&] { controller.Start(); });
    } else {
        timer.SetEnabled(true);
    }
    std::int64_t periods = 0;
    while (!view.ended && !view.failure) {
        const std::optional<VirtualClock::Milliseconds> next = clock.NextTick();
        if (!next || view.tickFaulted) {
            // No tick comes, or every tick fails where it stands.
            return Stopped(Outcome::NeverEnds);
        }
        if (periods == tickBudget_) {
            return Stopped(Outcome::TooLong);
        }
        ++periods;
        const float lat = state.CurLat;
        const float lon = state.CurLon;
        const std::int32_t itemNo = state.ItemNo;
        view.starting = false;
        clock.RunUntil(*next);
        // Within one area every tick moves the centre east along its row or
        // to a row further south; one that does not never reaches the end.
        const bool movedOn = state.CurLat < lat || (state.CurLat == lat && state.CurLon > lon);
        if (!view.ended && !view.failure && state.ItemNo == itemNo &&
            inputs.ActivePage() != Page::TS_Points && !movedOn) {
            return Stopped(Outcome::NeverEnds);
        }
    }
    if (view.failure) {
        VoyageEstimate estimate = Stopped(Outcome::Fails);
        estimate.failure = *view.failure;
        if (inputs.ActivePage() == Page::TS_MAreas) {
            estimate.failedArea = state.ItemNo;
        } else if (inputs.ActivePage() == Page::TS_Points) {
            estimate.failedLine = state.ItemIdx + 1;
        }
        return estimate;
    }
    VoyageEstimate estimate;
    estimate.views = writer.Views();
    estimate.periods = periods;
    estimate.milliseconds = clock.Now();
    return estimate;
}

} // namespace tembrel
