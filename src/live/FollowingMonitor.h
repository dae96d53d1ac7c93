#pragma once

#include "CameraReport.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace tembrel {

// The centre of a view handed to Google Earth, degrees.
struct ViewCentre {
    double lon = 0;
    double lat = 0;
};

// Whether Google Earth follows the voyage, from its fetches of the view: when
// it last fetched, at what period, and whether its camera reached the view it
// was handed the time before. It reads time only through the clock it is
// given, so a test can play any sequence of fetches without waiting.
class FollowingMonitor {
public:
    using Clock = std::function<std::chrono::milliseconds()>;

    enum class State {
        NotYetFetched, // no report since the program started
        Following,
        NotFetching,   // no report for two periods or more
        PeriodDiffers, // it fetches, but at another period than Refresh Every
        CameraAway,    // its camera was not at the view it had been handed
        NoCamera,      // it fetches the live link, but without its camera
    };

    struct Status {
        State state = State::NotYetFetched;
        std::int64_t periodsMissed = 0;          // NotFetching: whole periods since the last fetch
        std::chrono::milliseconds fetchPeriod{}; // the period Google Earth keeps, once known
    };

    explicit FollowingMonitor(Clock clock);

    // Refresh Every; 0 while unknown (then no fetch is late and no period differs).
    void SetPeriod(std::chrono::milliseconds period);
    // How far from a view's centre the camera may be and still be at it.
    void SetTolerance(double lonDegrees, double latDegrees);

    // Google Earth fetched, reporting where its camera was, and was handed
    // the view centred at `served` (nothing when there was no view yet).
    // A fetch that hands over no new view and finds the camera at the one
    // it has, sooner than half a period after the last fetch on the clock
    // (a refresh on the camera's stop or the user's own), is no period.
    void Fetched(const CameraReport& report, std::optional<ViewCentre> served);
    // Google Earth fetched without saying where its camera was.
    void FetchedWithoutCamera(std::optional<ViewCentre> served);

    Status Now() const;

    // Whether the camera at (lon, lat) is at the view centred at `centre`.
    bool AtCentre(double lon, double lat, const ViewCentre& centre) const;

    // One line for the indicator's and the gauge's tooltips.
    static std::string Describe(const Status& status);

private:
    std::optional<std::chrono::milliseconds> MeasuredPeriod() const;
    // A fetch on Google Earth's clock: one more interval for the period.
    void Counted();

    Clock clock_;
    std::chrono::milliseconds period_{};
    double lonTolerance_ = 0;
    double latTolerance_ = 0;
    std::deque<std::chrono::milliseconds> fetches_;      // the last few on its clock, oldest first
    std::optional<std::chrono::milliseconds> lastFetch_; // of any kind
    bool noCamera_ = false;                              // the last fetch came without a camera
    std::optional<ViewCentre> lastServed_;
    int awayStreak_ = 0; // fetches in a row whose camera was not at the view before
};

} // namespace tembrel
