#pragma once

#include "CameraReport.h"
#include "FollowingMonitor.h"

#include <cstddef>
#include <vector>

namespace tembrel {

// One view written during a voyage, and whether Google Earth's camera was
// later reported at its centre, with the box it showed there.
struct Arrival {
    float lon = 0;
    float lat = 0;
    bool reached = false;
    float west = 0;
    float south = 0;
    float east = 0;
    float north = 0;
};

// The views of one voyage and which of them Google Earth reached.
class ArrivalRecord {
public:
    // About 7 MB: a voyage of more views keeps the first ones.
    static constexpr std::size_t MaxViews = 250000;
    // A report is compared with the newest views only: the camera reports
    // the view it was handed a period before, and a view it did not reach
    // then it will not reach later.
    static constexpr std::size_t RecentViews = 8;

    void Clear();
    void ViewWritten(const ViewCentre& centre);
    // The camera was where `report` says; `judge` says what counts as at a centre.
    void Reported(const CameraReport& report, const FollowingMonitor& judge);

    const std::vector<Arrival>& Views() const { return views_; }
    std::size_t ReachedCount() const { return reached_; }
    std::size_t MissedCount() const { return views_.size() - reached_; }
    // Views written beyond MaxViews, not recorded.
    std::size_t Dropped() const { return dropped_; }

private:
    std::vector<Arrival> views_;
    std::size_t reached_ = 0;
    std::size_t dropped_ = 0;
};

} // namespace tembrel
