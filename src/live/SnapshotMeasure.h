#pragma once

#include "CameraReport.h"
#include "FollowingMonitor.h"

#include <optional>

namespace tembrel {

// The snapshot size at one altitude, measured by Google Earth itself: a view
// is written, and once Google Earth has fetched it and reports its camera
// there, the box it shows is the snapshot.
class SnapshotMeasure {
public:
    struct Result {
        double widthKm = 0;  // in Tembrel's units: 37/3600 degree of longitude a km
        double heightKm = 0; // 32/3600 degree of latitude a km
        int windowWidth = 0; // pixels
        int windowHeight = 0;
        double range = 0; // metres
    };

    // The view at `centre` and `range` metres was written: wait for it.
    void Start(const ViewCentre& centre, double range);
    void Cancel() { active_ = false; }
    bool Active() const { return active_; }
    const ViewCentre& Centre() const { return centre_; }

    // Google Earth fetched and was handed the view at `served`. The result
    // once its camera stands at the measured view, looking straight down
    // from its range; nothing before.
    std::optional<Result> Fetched(const CameraReport& report,
                                  const std::optional<ViewCentre>& served);

    // The box of a report in Tembrel's units.
    static Result Measure(const CameraReport& report);

private:
    bool active_ = false;
    bool handed_ = false; // Google Earth has been handed the view
    ViewCentre centre_;
    double range_ = 0;
};

} // namespace tembrel
