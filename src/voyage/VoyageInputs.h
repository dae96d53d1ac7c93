#pragma once

#include <string>

namespace tembrel {

enum class Page { TS_Area, TS_MAreas, TS_Points };

enum class InputEdit { E_LatD, E_LonD, E_VE, E_VS, E_VEast, E_VSouth, E_VA, E_VR };

// Abstract base class for what a voyage reads: the active page, the eight edit
// texts, the area grid and the points memo, each read afresh when asked. It
// changes nothing. The main window's adapter and the headless window of the
// tests and of tembrel-sim implement it.
class VoyageInputs {
public:
    virtual ~VoyageInputs() = default;

    // The page PC_Main shows.
    virtual Page ActivePage() const = 0;

    virtual std::string EditText(InputEdit edit) const = 0;

    // SG_Areas: 4 columns, GridRowCount rows, cells as typed; a cell outside
    // the grid is empty.
    static constexpr int GridRowCount = 50;
    static constexpr int GridColumnCount = 4;
    virtual std::string GridCell(int column, int row) const = 0;

    // M_Points as its control counts lines: wrapped lines count one each, and
    // an empty last line does not count.
    virtual int MemoLineCount() const = 0;
    virtual std::string MemoLine(int index) const = 0;
};

} // namespace tembrel
