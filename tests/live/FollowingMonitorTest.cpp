// Whether Google Earth follows, played as sequences of fetches on a clock the
// test moves: no test waits for real time.
#include "FollowingMonitor.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tembrel {
namespace {

using std::chrono::milliseconds;
using State = FollowingMonitor::State;

class Monitor : public ::testing::Test {
protected:
    Monitor() : monitor([this] { return now; }) {
        monitor.SetPeriod(milliseconds(5000));
        monitor.SetTolerance(0.01, 0.01);
    }

    // A fetch at `at` from a camera at (lon, lat), handed the view at `served`.
    void FetchAt(milliseconds at, double lon, double lat, ViewCentre served) {
        now = at;
        CameraReport report;
        report.lon = lon;
        report.lat = lat;
        monitor.Fetched(report, served);
    }

    // Fetches every `period` from 0 to `until`, the camera each time at the
    // view it was handed before (or, when it never flies, where it began).
    void Follow(milliseconds period, milliseconds until, bool flies = true) {
        ViewCentre camera{10, 20};
        for (milliseconds at{0}; at <= until; at += period) {
            const ViewCentre next{camera.lon + 0.1, camera.lat};
            FetchAt(at, camera.lon, camera.lat, next);
            if (flies) {
                camera = next;
            }
        }
    }

    milliseconds now{0};
    FollowingMonitor monitor;
};

TEST_F(Monitor, NothingFetchedYet) {
    now = milliseconds(60000);
    EXPECT_EQ(monitor.Now().state, State::NotYetFetched);
    EXPECT_EQ(FollowingMonitor::Describe(monitor.Now()),
              "Google Earth has not fetched the view yet");
}

TEST_F(Monitor, FetchesAtThePeriodWithTheCameraAtEachViewAreFollowing) {
    Follow(milliseconds(5000), milliseconds(30000));
    now += milliseconds(4000);
    EXPECT_EQ(monitor.Now().state, State::Following);
    EXPECT_EQ(monitor.Now().fetchPeriod, milliseconds(5000));
    EXPECT_EQ(FollowingMonitor::Describe(monitor.Now()), "Google Earth is following");
}

TEST_F(Monitor, StoppedFetchesCountWholePeriodsOnlyPastTwo) {
    Follow(milliseconds(5000), milliseconds(30000));
    now = milliseconds(30000 + 10000); // exactly two periods: still in time
    EXPECT_EQ(monitor.Now().state, State::Following);
    now = milliseconds(30000 + 10001);
    EXPECT_EQ(monitor.Now().state, State::NotFetching);
    EXPECT_EQ(monitor.Now().periodsMissed, 2);
    now = milliseconds(30000 + 36000);
    EXPECT_EQ(monitor.Now().periodsMissed, 7);
    EXPECT_EQ(FollowingMonitor::Describe(monitor.Now()),
              "Google Earth has not fetched the view for 7 periods");
    // Fetching again: following at once.
    FetchAt(milliseconds(70000), 0, 0, {0, 0});
    FetchAt(milliseconds(75000), 0, 0, {0, 0});
    EXPECT_EQ(monitor.Now().state, State::Following);
}

struct PeriodCase {
    int fetchEvery; // ms, Google Earth's period
    State expected;
};

class Periods : public Monitor, public ::testing::WithParamInterface<PeriodCase> {};

TEST_P(Periods, AnotherPeriodThanRefreshEveryIsSaid) {
    const milliseconds every(GetParam().fetchEvery);
    Follow(every, every * 6);
    EXPECT_EQ(monitor.Now().state, GetParam().expected);
}

// Refresh Every is 5 s; a quarter of it is allowed either way.
INSTANTIATE_TEST_SUITE_P(Cases, Periods,
                         ::testing::Values(PeriodCase{5000, State::Following},
                                           PeriodCase{6250, State::Following},
                                           PeriodCase{3750, State::Following},
                                           PeriodCase{6300, State::PeriodDiffers},
                                           PeriodCase{3700, State::PeriodDiffers},
                                           PeriodCase{10000, State::PeriodDiffers},
                                           PeriodCase{1000, State::PeriodDiffers}));

TEST_F(Monitor, PeriodDiffersNamesGoogleEarthsPeriod) {
    Follow(milliseconds(10000), milliseconds(60000));
    EXPECT_EQ(FollowingMonitor::Describe(monitor.Now()),
              "Google Earth fetches every 10 s, not at Refresh Every");
}

TEST_F(Monitor, OneExtraFetchDoesNotChangeThePeriod) {
    Follow(milliseconds(5000), milliseconds(20000));
    FetchAt(milliseconds(21000), 10.5, 20, {10.6, 20}); // the user's own refresh
    FetchAt(milliseconds(25000), 10.6, 20, {10.7, 20});
    EXPECT_EQ(monitor.Now().state, State::Following);
}

TEST_F(Monitor, ACameraThatNeverFliesIsAwayAfterTwoFetches) {
    FetchAt(milliseconds(0), 10, 20, {10.1, 20});
    FetchAt(milliseconds(5000), 10, 20, {10.2, 20});
    EXPECT_EQ(monitor.Now().state, State::Following); // one miss: may still be on its way
    FetchAt(milliseconds(10000), 10, 20, {10.3, 20});
    EXPECT_EQ(monitor.Now().state, State::CameraAway);
    EXPECT_EQ(FollowingMonitor::Describe(monitor.Now()),
              "Google Earth's camera is not at the last view (is Fly to View off?)");
}

TEST_F(Monitor, ACameraBackAtTheViewFollowsAgain) {
    Follow(milliseconds(5000), milliseconds(20000), false);
    ASSERT_EQ(monitor.Now().state, State::CameraAway);
    FetchAt(milliseconds(25000), 50, 50, {50, 50});
    FetchAt(milliseconds(30000), 50.005, 49.995, {51, 50});
    EXPECT_EQ(monitor.Now().state, State::Following);
}

// A link refreshed also on the camera's stop (onStop): after each period's
// fetch and the flight, one more fetch finds the camera at the view it has.
// Played with the stop's fetch `after` the period's, as a table.
struct ViewBasedCase {
    const char* name;
    int after;      // ms from the period's fetch to the view-based one
    bool arrives;   // the camera is at the view at that fetch
    State expected; // after six periods
};

void PrintTo(const ViewBasedCase& c, std::ostream* out) {
    *out << c.name;
}

class ViewBasedFetches : public Monitor, public ::testing::WithParamInterface<ViewBasedCase> {};

TEST_P(ViewBasedFetches, AreNoSecondPeriod) {
    const ViewBasedCase& c = GetParam();
    ViewCentre camera{10, 20};
    for (int period = 0; period <= 6; ++period) {
        const milliseconds at(period * 5000);
        const ViewCentre next{camera.lon + 0.1, camera.lat};
        FetchAt(at, camera.lon, camera.lat, next);
        camera = next;
        // No new view since: the same one handed again.
        FetchAt(at + milliseconds(c.after), c.arrives ? camera.lon : 0, camera.lat, camera);
    }
    now += milliseconds(1000);
    EXPECT_EQ(monitor.Now().state, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ViewBasedFetches,
    ::testing::Values(ViewBasedCase{"onStopSoonAfter", 1500, true, State::Following},
                      ViewBasedCase{"onStopJustBeforeHalfAPeriod", 2499, true, State::Following},
                      // Half a period on: as likely a clock of its own.
                      ViewBasedCase{"halfAPeriodOn", 2500, true, State::PeriodDiffers},
                      // A camera not at the view it has: no refresh on its stop.
                      ViewBasedCase{"cameraElsewhere", 1500, false, State::PeriodDiffers}),
    [](const ::testing::TestParamInfo<ViewBasedCase>& info) {
        return std::string(info.param.name);
    });

TEST_F(Monitor, FasterFetchesOfTheSameViewStillDiffer) {
    // Google Earth fetches every second with Refresh Every at 5: most
    // fetches hand the same view again, yet its clock is not Tembrel's.
    ViewCentre view{10, 20};
    for (int second = 0; second <= 30; ++second) {
        if (second % 5 == 0) {
            view.lon += 0.1;
        }
        const ViewCentre camera = second % 5 == 0 ? ViewCentre{view.lon - 0.1, view.lat} : view;
        FetchAt(milliseconds(second * 1000), camera.lon, camera.lat, view);
    }
    EXPECT_EQ(monitor.Now().state, State::PeriodDiffers);
}

TEST_F(Monitor, FetchesWithoutACameraAskForTheLinkAgain) {
    // GIVEN a Google Earth that follows,
    Follow(milliseconds(5000), milliseconds(20000));
    ASSERT_EQ(monitor.Now().state, State::Following);
    // WHEN its fetches come without a camera (its view refresh set to never),
    for (int i = 1; i <= 3; ++i) {
        now = milliseconds(20000 + i * 5000);
        monitor.FetchedWithoutCamera(ViewCentre{0, 0});
    }
    // THEN the light asks for the live link again, while it fetches,
    EXPECT_EQ(monitor.Now().state, State::NoCamera);
    EXPECT_EQ(FollowingMonitor::Describe(monitor.Now()),
              "Google Earth sends no camera: create the live link again");
    EXPECT_EQ(monitor.Now().fetchPeriod, milliseconds(5000));
    // and says it stopped once it stops,
    now = milliseconds(35000 + 10001);
    EXPECT_EQ(monitor.Now().state, State::NotFetching);
    // and follows again once its camera is back.
    FetchAt(milliseconds(50000), 0, 0, {1, 1});
    FetchAt(milliseconds(55000), 1, 1, {2, 1});
    EXPECT_EQ(monitor.Now().state, State::Following);
}

struct CentreCase {
    double lon, lat;
    bool at;
};

class Centres : public ::testing::TestWithParam<CentreCase> {};

TEST_P(Centres, WithinTheToleranceEitherWayAndAcrossTheAntimeridian) {
    FollowingMonitor monitor([] { return milliseconds(0); });
    monitor.SetTolerance(0.02, 0.01);
    EXPECT_EQ(monitor.AtCentre(GetParam().lon, GetParam().lat, {179.99, 0}), GetParam().at);
}

INSTANTIATE_TEST_SUITE_P(Cases, Centres,
                         ::testing::Values(CentreCase{179.99, 0, true},
                                           CentreCase{179.975, 0.01, true},
                                           CentreCase{179.96, 0, false},
                                           CentreCase{179.99, 0.011, false},
                                           CentreCase{-179.995, 0, true}, // 0.015 across
                                           CentreCase{-179.98, 0, false}));

} // namespace
} // namespace tembrel
