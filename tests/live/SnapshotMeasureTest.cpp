// The snapshot size from Google Earth's own box: the worked example of a
// camera 2000 m up at latitude 30 with a 60 degree field in a 1000 x 700
// window, and when a report does not count yet.
#include "SnapshotMeasure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace tembrel {
namespace {

// What a camera at (lon, lat), `range` metres up, straight down, shows with
// a horizontal field of 60 degrees in a 1000 x 700 pixel window.
CameraReport Camera(double lon, double lat, double range) {
    const double halfWidth = range * std::tan(30.0 * std::numbers::pi / 180.0);
    const double halfHeight = halfWidth * 700.0 / 1000.0;
    const double dLon = halfWidth / (111320.0 * std::cos(lat * std::numbers::pi / 180.0));
    const double dLat = halfHeight / 111320.0;
    CameraReport report;
    report.lon = lon;
    report.lat = lat;
    report.range = range;
    report.west = lon - dLon;
    report.east = lon + dLon;
    report.south = lat - dLat;
    report.north = lat + dLat;
    report.width = 1000;
    report.height = 700;
    return report;
}

TEST(SnapshotMeasure, WorkedExample) {
    // Half-width 2000 tan 30 = 1154.70 m: 0.0119774 degree of longitude at
    // latitude 30, so 0.0239548 degree, 2.33074 km in Tembrel's units;
    // half-height 808.29 m: 0.00726096 degree, so 1.63372 km.
    const SnapshotMeasure::Result result = SnapshotMeasure::Measure(Camera(31.2, 30, 2000));
    EXPECT_NEAR(result.widthKm, 2.33074, 1e-4);
    EXPECT_NEAR(result.heightKm, 1.63372, 1e-4);
    EXPECT_EQ(result.windowWidth, 1000);
    EXPECT_EQ(result.windowHeight, 700);
    EXPECT_EQ(result.range, 2000);
}

TEST(SnapshotMeasure, ABoxAcrossTheAntimeridian) {
    const SnapshotMeasure::Result result = SnapshotMeasure::Measure(Camera(179.999, 0, 1000));
    EXPECT_GT(result.widthKm, 0);
    EXPECT_NEAR(result.widthKm, SnapshotMeasure::Measure(Camera(0, 0, 1000)).widthKm, 1e-6);
}

TEST(SnapshotMeasure, WaitsUntilTheCameraStandsAtTheHandedView) {
    SnapshotMeasure measure;
    const ViewCentre view{31.2, 30};
    measure.Start(view, 2000);
    // The fetch that hands the view reports where the camera was before.
    EXPECT_FALSE(measure.Fetched(Camera(10, 10, 500), view));
    // Still flying: not at the centre yet, or not at the range.
    EXPECT_FALSE(measure.Fetched(Camera(31.21, 30, 2000), view));
    EXPECT_FALSE(measure.Fetched(Camera(31.2, 30, 2100), view));
    CameraReport tilted = Camera(31.2, 30, 2000);
    tilted.tilt = 20;
    EXPECT_FALSE(measure.Fetched(tilted, view));
    EXPECT_TRUE(measure.Active());
    const auto result = measure.Fetched(Camera(31.2001, 30, 2000), view);
    ASSERT_TRUE(result);
    EXPECT_NEAR(result->widthKm, 2.33, 0.01);
    EXPECT_FALSE(measure.Active());
    EXPECT_FALSE(measure.Fetched(Camera(31.2, 30, 2000), view));
}

TEST(SnapshotMeasure, ACameraAlreadyThereCountsOnlyAfterTheHandOver) {
    SnapshotMeasure measure;
    const ViewCentre view{31.2, 30};
    measure.Start(view, 2000);
    // Before the view was handed, a camera there is there by chance.
    EXPECT_FALSE(measure.Fetched(Camera(31.2, 30, 2000), ViewCentre{0, 0}));
    EXPECT_FALSE(measure.Fetched(Camera(31.2, 30, 2000), view));
    EXPECT_TRUE(measure.Fetched(Camera(31.2, 30, 2000), view));
}

} // namespace
} // namespace tembrel
