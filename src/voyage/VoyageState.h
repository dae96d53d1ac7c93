#pragma once

#include <cstdint>
#include <string>

namespace tembrel {

// The voyage variables. There is one VoyageState for the whole run; every
// field is zero, false or empty at program start, and the main window's
// creation then sets ItemNo to 1.
struct VoyageState {
    float CurLat = 0;               // latitude of the centre the next view shows, degrees
    float CurLon = 0;               // longitude of that centre, degrees
    float EndLat = 0;               // southernmost row of centres of the current area
    float EndLon = 0;               // easternmost column of centres of the current area
    float RowStartLon = 0;          // westernmost centre of every row
    std::int32_t Range = 0;         // zoom altitude, metres
    std::int32_t SnapshotCount = 0; // progress divisor: grid size or memo lines
    // 1-based area number (Multiple Areas) or line where the next point
    // search starts (Scattered Points). 32 bits: a 16-bit counter would wrap
    // negative on memos longer than 32767 lines.
    std::int32_t ItemNo = 0;
    std::int32_t ItemIdx = 0;  // 0-based grid row or memo line being examined
    std::int32_t CommaPos = 0; // 1-based position of the first comma in PointLine
    std::string PointLine;     // memo line being examined
    bool AreasDone = false;    // the area list has no further area
    bool Paused = false;       // the next Start resumes
    // A voyage is in progress: set when Start locks the inputs, cleared when
    // the window returns to idle. Kept apart from CurLat, which is a position
    // and may well be 0 on the Equator.
    bool InProgress = false;
};

// ItemNo + 1, wrapping at 32 bits like all integer arithmetic of a voyage.
inline std::int32_t NextItemNo(std::int32_t itemNo) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(itemNo) + 1u);
}

} // namespace tembrel
