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
