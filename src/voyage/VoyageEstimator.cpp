#include "VoyageEstimator.h"

#include "AreaPlan.h"
#include "DefaultErrorBox.h"
#include "ExtendedMath.h"
#include "Messages.h"
#include "TextConversion.h"
#include "VoyageController.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <string>

namespace tembrel {

namespace {

using Outcome = VoyageEstimate::Outcome;

VoyageEstimate Stopped(Outcome outcome) {
    VoyageEstimate estimate;
    estimate.outcome = outcome;
    return estimate;
}

VoyageEstimate Failed(std::string message, std::int32_t area, std::int32_t line) {
    VoyageEstimate estimate = Stopped(Outcome::Fails);
    estimate.failure = std::move(message);
    estimate.failedArea = area;
    estimate.failedLine = line;
    return estimate;
}

Outcome FromWalk(AreaWalk::Outcome outcome) {
    return outcome == AreaWalk::Outcome::NeverEnds ? Outcome::NeverEnds : Outcome::TooLong;
}

// The start of an area writes its first centre even when the tick then finds
// no row to visit: Google Earth is shown that one view.
std::int64_t ViewsOfArea(std::int64_t centres) {
    return std::max<std::int64_t>(centres, 1);
}

// ItemNo + 1 as the controller counts, wrapping at 32 bits.
std::int32_t NextItem(std::int32_t itemNo) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(itemNo) + 1u);
}

// Views, periods and milliseconds added up; a sum beyond 64 bits makes the
// voyage TooLong rather than wrapping into nonsense.
class Totals {
public:
    bool Add(std::int64_t views, std::int64_t periods, std::int32_t intervalMs) {
        std::int64_t length = 0;
        ok_ = ok_ && !__builtin_add_overflow(estimate_.views, views, &estimate_.views) &&
              !__builtin_add_overflow(estimate_.periods, periods, &estimate_.periods) &&
              !__builtin_mul_overflow(periods, std::int64_t{intervalMs}, &length) &&
              !__builtin_add_overflow(estimate_.milliseconds, length, &estimate_.milliseconds);
        return ok_;
    }
    bool Add(const VoyageEstimate& other) {
        ok_ = ok_ && !__builtin_add_overflow(estimate_.views, other.views, &estimate_.views) &&
              !__builtin_add_overflow(estimate_.periods, other.periods, &estimate_.periods) &&
              !__builtin_add_overflow(estimate_.milliseconds, other.milliseconds,
                                      &estimate_.milliseconds);
        return ok_;
    }
    VoyageEstimate Result() const { return ok_ ? estimate_ : Stopped(Outcome::TooLong); }

private:
    VoyageEstimate estimate_;
    bool ok_ = true;
};

} // namespace

VoyageEstimator::VoyageEstimator(const VoyageInputs& inputs, const TimerModel& timer,
                                 char decimalSeparator, std::int64_t walkBudget)
    : inputs_(inputs), timer_(timer), separator_(decimalSeparator), walkBudget_(walkBudget) {}

VoyageEstimate VoyageEstimator::BeforeStart(std::int32_t itemNo) const {
    budgetLeft_ = walkBudget_;
    switch (inputs_.ActivePage()) {
    case Page::TS_Area:
        return Area();
    case Page::TS_MAreas:
        return Areas(itemNo, timer_.Interval());
    case Page::TS_Points:
        return Points(itemNo);
    }
    return Area();
}

VoyageEstimate VoyageEstimator::TimeLeft(const VoyageState& state) const {
    budgetLeft_ = walkBudget_;
    const std::int32_t current = timer_.Interval();
    if (current <= 0) {
        return Stopped(Outcome::NeverEnds); // no tick comes, not even after a resume
    }
    const Page page = inputs_.ActivePage();
    Totals totals;
    if (page == Page::TS_Points) {
        // The next tick writes the loaded point; the search then goes on from
        // the line after the one where the last search began.
        const std::int32_t next = NextItem(state.ItemNo);
        const VoyageEstimate rest = Points(next);
        if (rest.outcome != Outcome::Ends) {
            return rest;
        }
        const bool loadedCountedAgain = state.ItemIdx >= std::int64_t{next} - 1;
        totals.Add(loadedCountedAgain ? 0 : 1, 1, current);
        totals.Add(rest);
        return totals.Result();
    }
    if (page == Page::TS_MAreas && state.AreasDone) {
        totals.Add(0, 1, current);
        return totals.Result();
    }
    std::int64_t centres = 0;
    if (state.CurLat >= state.EndLat) {
        const AreaWalk::Result walk = CentresFrom(state, state.CurLat, state.CurLon);
        if (walk.outcome != AreaWalk::Outcome::Ends) {
            return Stopped(FromWalk(walk.outcome));
        }
        centres = walk.count;
    }
    // The tick after the last centre ends the area.
    totals.Add(centres, centres + 1, current);
    if (page == Page::TS_MAreas) {
        const VoyageEstimate rest = Areas(NextItem(state.ItemNo), current);
        if (rest.outcome != Outcome::Ends) {
            return rest;
        }
        totals.Add(rest);
    }
    return totals.Result();
}

VoyageEstimate VoyageEstimator::Area() const {
    VoyageState plan;
    std::int32_t interval = 0;
    try {
        VoyageController::PlanAreaFromEdits(plan, inputs_, separator_);
        interval = VoyageController::RefreshMilliseconds(inputs_.EditText(InputEdit::E_VR));
    } catch (const std::exception&) {
        return Failed(messages::DataNotCorrect, 0, 0);
    }
    if (interval == 0) {
        return Stopped(Outcome::NeverEnds);
    }
    const AreaWalk::Result walk = CentresFrom(plan, plan.CurLat, plan.CurLon);
    if (walk.outcome != AreaWalk::Outcome::Ends) {
        return Stopped(FromWalk(walk.outcome));
    }
    Totals totals;
    totals.Add(ViewsOfArea(walk.count), walk.count + 1, interval);
    return totals.Result();
}

VoyageEstimate VoyageEstimator::Areas(std::int32_t itemNo, std::int32_t idleInterval) const {
    Totals totals;
    std::int32_t interval = idleInterval;
    for (std::int64_t row = std::int64_t{itemNo} - 1; GridRowComplete(inputs_, row); ++row) {
        VoyageState plan;
        try {
            const int r = static_cast<int>(row);
            const std::string latitude = inputs_.GridCell(0, r);
            const std::string longitude = inputs_.GridCell(1, r);
            const std::string width = inputs_.GridCell(2, r);
            const std::string height = inputs_.GridCell(3, r);
            const std::string snapWidth = inputs_.EditText(InputEdit::E_VEast);
            const std::string snapHeight = inputs_.EditText(InputEdit::E_VSouth);
            const std::string altitude = inputs_.EditText(InputEdit::E_VA);
            PlanArea(plan,
                     AreaTexts{latitude, longitude, width, height, snapWidth, snapHeight, altitude},
                     separator_);
            interval = VoyageController::RefreshMilliseconds(inputs_.EditText(InputEdit::E_VR));
        } catch (const std::exception& e) {
            // This start shows the error itself, in the default error box.
            return Failed(DefaultErrorBoxText(e.what()), static_cast<std::int32_t>(row + 1), 0);
        }
        if (interval == 0) {
            return Stopped(Outcome::NeverEnds);
        }
        const AreaWalk::Result walk = CentresFrom(plan, plan.CurLat, plan.CurLon);
        if (walk.outcome != AreaWalk::Outcome::Ends) {
            return Stopped(FromWalk(walk.outcome));
        }
        totals.Add(ViewsOfArea(walk.count), walk.count + 1, interval);
    }
    // The tick that finds no further area is followed, one period later, by
    // the one that ends the voyage.
    if (interval <= 0) {
        return Stopped(Outcome::NeverEnds);
    }
    totals.Add(0, 1, interval);
    return totals.Result();
}

VoyageEstimate VoyageEstimator::Points(std::int32_t itemNo) const {
    const std::int64_t count = inputs_.MemoLineCount();
    const std::int64_t first = std::max<std::int64_t>(std::int64_t{itemNo} - 1, 0);
    std::int64_t last = -1;
    for (std::int64_t line = count - 1; line >= first; --line) {
        if (inputs_.MemoLine(static_cast<int>(line)).find(',') != std::string::npos) {
            last = line;
            break;
        }
    }
    if (last < 0) {
        return VoyageEstimate{}; // the start itself ends the voyage
    }
    std::int64_t views = 0;
    std::int32_t interval = 0;
    for (std::int64_t line = first; line <= last; ++line) {
        const std::string text = inputs_.MemoLine(static_cast<int>(line));
        const std::size_t comma = text.find(',');
        if (comma == std::string::npos) {
            continue;
        }
        try {
            const std::string_view view = text;
            StoreSingle(StrToFloat(view.substr(0, comma), separator_));
            StoreSingle(StrToFloat(view.substr(comma + 1), separator_));
            StrToInt(inputs_.EditText(InputEdit::E_VA));
            interval = VoyageController::RefreshMilliseconds(inputs_.EditText(InputEdit::E_VR));
        } catch (const std::exception&) {
            return Failed(messages::DataNotCorrect, 0, static_cast<std::int32_t>(line + 1));
        }
        if (interval == 0) {
            return Stopped(Outcome::NeverEnds); // loaded, but never written
        }
        ++views;
    }
    // One tick per line from the first search line up to the last point line.
    Totals totals;
    totals.Add(views, last - first + 1, interval);
    return totals.Result();
}

AreaWalk::Result VoyageEstimator::CentresFrom(const VoyageState& plan, float lat, float lon) const {
    std::optional<AreaWalk> walk;
    try {
        walk.emplace(inputs_.EditText(InputEdit::E_VEast), inputs_.EditText(InputEdit::E_VSouth),
                     separator_);
    } catch (const std::exception&) {
        // Every tick would fail at its step, and the position never moves.
        return {AreaWalk::Outcome::NeverEnds, 0};
    }
    const AreaWalk::Result rows = walk->Rows(lat, plan.EndLat, budgetLeft_);
    budgetLeft_ -= rows.count;
    if (rows.outcome != AreaWalk::Outcome::Ends || rows.count == 0) {
        return rows;
    }
    const AreaWalk::Result firstRow = walk->Columns(lon, plan.EndLon, budgetLeft_);
    budgetLeft_ -= firstRow.count;
    if (firstRow.outcome != AreaWalk::Outcome::Ends || rows.count == 1) {
        return firstRow;
    }
    AreaWalk::Result fullRow = firstRow;
    if (lon != plan.RowStartLon) {
        fullRow = walk->Columns(plan.RowStartLon, plan.EndLon, budgetLeft_);
        budgetLeft_ -= fullRow.count;
        if (fullRow.outcome != AreaWalk::Outcome::Ends) {
            return fullRow;
        }
    }
    // Every later row starts again at RowStartLon and walks the same steps.
    std::int64_t later = 0;
    std::int64_t total = 0;
    if (__builtin_mul_overflow(rows.count - 1, fullRow.count, &later) ||
        __builtin_add_overflow(firstRow.count, later, &total)) {
        return {AreaWalk::Outcome::TooLong, 0};
    }
    return {AreaWalk::Outcome::Ends, total};
}

bool VoyageEstimator::GridRowComplete(const VoyageInputs& inputs, std::int64_t row) {
    if (row < 0 || row >= VoyageInputs::GridRowCount) {
        return false;
    }
    for (int column = 0; column < VoyageInputs::GridColumnCount; ++column) {
        if (inputs.GridCell(column, static_cast<int>(row)).empty()) {
            return false;
        }
    }
    return true;
}

} // namespace tembrel
