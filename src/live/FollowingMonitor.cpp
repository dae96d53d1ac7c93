#include "FollowingMonitor.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace tembrel {

namespace {

using std::chrono::milliseconds;

// Intervals kept for the period: enough that one extra fetch (the user's own
// "Refresh") does not change the median.
constexpr std::size_t FetchesKept = 5;
// A camera may still be on its way at one fetch; two in a row is a pattern.
constexpr int AwayFetches = 2;

std::string Seconds(milliseconds period) {
    const double seconds = static_cast<double>(period.count()) / 1000.0;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", seconds);
    std::string result(text);
    if (result.size() > 2 && result.compare(result.size() - 2, 2, ".0") == 0) {
        result.resize(result.size() - 2);
    }
    return result;
}

} // namespace

FollowingMonitor::FollowingMonitor(Clock clock) : clock_(std::move(clock)) {}

void FollowingMonitor::SetPeriod(milliseconds period) {
    period_ = std::max(period, milliseconds(0));
}

void FollowingMonitor::SetTolerance(double lonDegrees, double latDegrees) {
    lonTolerance_ = std::fabs(lonDegrees);
    latTolerance_ = std::fabs(latDegrees);
}

bool FollowingMonitor::AtCentre(double lon, double lat, const ViewCentre& centre) const {
    double dLon = std::fabs(lon - centre.lon);
    if (dLon > 180) {
        dLon = 360 - dLon; // either side of the antimeridian
    }
    return dLon <= lonTolerance_ && std::fabs(lat - centre.lat) <= latTolerance_;
}

void FollowingMonitor::Counted() {
    fetches_.push_back(*lastFetch_);
    if (fetches_.size() > FetchesKept) {
        fetches_.pop_front();
    }
}

void FollowingMonitor::Fetched(const CameraReport& report, std::optional<ViewCentre> served) {
    lastFetch_ = clock_();
    const bool sameView =
        served && lastServed_ && served->lon == lastServed_->lon && served->lat == lastServed_->lat;
    const bool soon = !fetches_.empty() && period_ > milliseconds(0) &&
                      *lastFetch_ - fetches_.back() < period_ / 2;
    const bool arrived = lastServed_ && AtCentre(report.lon, report.lat, *lastServed_);
    if (!(sameView && soon && arrived)) {
        Counted();
    }
    noCamera_ = false;
    // Google Earth reports where it was before it reads the new view: the
    // camera should be at the view it was handed the time before.
    if (lastServed_) {
        awayStreak_ = arrived ? 0 : awayStreak_ + 1;
    }
    lastServed_ = served;
}

void FollowingMonitor::FetchedWithoutCamera(std::optional<ViewCentre> served) {
    lastFetch_ = clock_();
    Counted();
    noCamera_ = true;
    lastServed_ = served;
}

std::optional<milliseconds> FollowingMonitor::MeasuredPeriod() const {
    if (fetches_.size() < 2) {
        return std::nullopt;
    }
    std::vector<milliseconds> intervals;
    for (std::size_t i = 1; i < fetches_.size(); ++i) {
        intervals.push_back(fetches_[i] - fetches_[i - 1]);
    }
    std::nth_element(intervals.begin(), intervals.begin() + intervals.size() / 2, intervals.end());
    return intervals[intervals.size() / 2];
}

FollowingMonitor::Status FollowingMonitor::Now() const {
    Status status;
    if (!lastFetch_) {
        return status;
    }
    const std::optional<milliseconds> measured = MeasuredPeriod();
    status.fetchPeriod = measured.value_or(milliseconds(0));
    if (period_ > milliseconds(0)) {
        // Late only past two of the longer period, so that a mismatch of
        // periods is not taken for a stop.
        const milliseconds reference = std::max(period_, status.fetchPeriod);
        const milliseconds since = clock_() - *lastFetch_;
        if (since > 2 * reference) {
            status.state = State::NotFetching;
            status.periodsMissed = since / period_;
            return status;
        }
    }
    // The link must be made again, whatever its period.
    if (noCamera_) {
        status.state = State::NoCamera;
        return status;
    }
    if (period_ > milliseconds(0)) {
        // Google Earth keeps whole seconds; the link rounds the period down.
        const milliseconds slack = std::max(period_ / 4, milliseconds(600));
        if (measured && (*measured - period_ > slack || period_ - *measured > slack)) {
            status.state = State::PeriodDiffers;
            return status;
        }
    }
    status.state = awayStreak_ >= AwayFetches ? State::CameraAway : State::Following;
    return status;
}

std::string FollowingMonitor::Describe(const Status& status) {
    switch (status.state) {
    case State::NotYetFetched:
        return "Google Earth has not fetched the view yet";
    case State::Following:
        return "Google Earth is following";
    case State::NotFetching:
        return "Google Earth has not fetched the view for " + std::to_string(status.periodsMissed) +
               " periods";
    case State::PeriodDiffers:
        return "Google Earth fetches every " + Seconds(status.fetchPeriod) +
               " s, not at Refresh Every";
    case State::CameraAway:
        return "Google Earth's camera is not at the last view (is Fly to View off?)";
    case State::NoCamera:
        return "Google Earth sends no camera: create the live link again";
    }
    return {};
}

} // namespace tembrel
