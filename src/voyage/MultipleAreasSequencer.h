#pragma once

#include "SequencerContext.h"

#include <string>

namespace tembrel {

// The Multiple Areas tab's part of a voyage: flies the grid's rows one after
// another from row ItemNo - 1, up to the first incomplete row.
class MultipleAreasSequencer {
public:
    explicit MultipleAreasSequencer(SequencerContext context) : context_(context) {}

    // The Start sequence's branch for this tab: plans and writes the area of
    // row ItemNo - 1, or marks the list done when that row is incomplete. A
    // failure is shown in the default error box and the window returns to idle.
    void Start();

    // The tick after the list was found done: the voyage ends.
    void EndOfList();

    // The tick that finds the current area finished: on to the next row.
    void NextArea();

    // A row exists and none of its four cells is empty (blanks count as filled).
    bool RowComplete(int row) const;

    static std::string AreaLabel(int itemNo);

private:
    void PlanRow(int row);

    SequencerContext context_;
};

} // namespace tembrel
