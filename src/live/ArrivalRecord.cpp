#include "ArrivalRecord.h"

#include <algorithm>

namespace tembrel {

void ArrivalRecord::Clear() {
    views_.clear();
    views_.shrink_to_fit();
    reached_ = 0;
    dropped_ = 0;
}

void ArrivalRecord::ViewWritten(const ViewCentre& centre) {
    const auto lon = static_cast<float>(centre.lon);
    const auto lat = static_cast<float>(centre.lat);
    // The same centre written again (the first one is held for two periods, a
    // failed write is retried) is one centre to reach, not two.
    if (!views_.empty() && views_.back().lon == lon && views_.back().lat == lat) {
        return;
    }
    if (views_.size() >= MaxViews) {
        ++dropped_;
        return;
    }
    Arrival arrival;
    arrival.lon = lon;
    arrival.lat = lat;
    views_.push_back(arrival);
}

void ArrivalRecord::Reported(const CameraReport& report, const FollowingMonitor& judge) {
    const std::size_t first = views_.size() - std::min(views_.size(), RecentViews);
    for (std::size_t i = first; i < views_.size(); ++i) {
        Arrival& view = views_[i];
        if (view.reached || !judge.AtCentre(report.lon, report.lat, {view.lon, view.lat})) {
            continue;
        }
        view.reached = true;
        view.west = static_cast<float>(report.west);
        view.south = static_cast<float>(report.south);
        view.east = static_cast<float>(report.east);
        view.north = static_cast<float>(report.north);
        ++reached_;
    }
}

} // namespace tembrel
