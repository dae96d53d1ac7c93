// Which views of a voyage Google Earth reached: a report marks the newest
// views its camera stands at, with the box it showed; older views stay missed.
#include "ArrivalRecord.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tembrel {
namespace {

CameraReport At(double lon, double lat) {
    CameraReport report;
    report.lon = lon;
    report.lat = lat;
    report.west = lon - 0.01;
    report.south = lat - 0.005;
    report.east = lon + 0.01;
    report.north = lat + 0.005;
    return report;
}

class Record : public ::testing::Test {
protected:
    Record() : judge([] { return std::chrono::milliseconds(0); }) {
        judge.SetTolerance(0.001, 0.001);
    }
    FollowingMonitor judge;
    ArrivalRecord record;
};

TEST_F(Record, AReportAtAViewMarksItReachedWithItsBox) {
    record.ViewWritten({10, 20});
    record.ViewWritten({10.1, 20});
    record.Reported(At(10.0005, 20), judge);
    ASSERT_EQ(record.Views().size(), 2u);
    EXPECT_TRUE(record.Views()[0].reached);
    EXPECT_FLOAT_EQ(record.Views()[0].west, 9.9905f);
    EXPECT_FLOAT_EQ(record.Views()[0].north, 20.005f);
    EXPECT_FALSE(record.Views()[1].reached);
    EXPECT_EQ(record.ReachedCount(), 1u);
    EXPECT_EQ(record.MissedCount(), 1u);
    // A second report there counts it once.
    record.Reported(At(10, 20), judge);
    EXPECT_EQ(record.ReachedCount(), 1u);
}

TEST_F(Record, ACentreWrittenTwiceInARowIsOneCentre) {
    record.ViewWritten({10, 20});
    record.ViewWritten({10, 20}); // held for a second period
    record.ViewWritten({10.1, 20});
    record.ViewWritten({10, 20}); // the same place later in the voyage counts again
    ASSERT_EQ(record.Views().size(), 3u);
    EXPECT_EQ(record.MissedCount(), 3u);
    record.Reported(At(10.1, 20), judge);
    EXPECT_EQ(record.ReachedCount(), 1u);
    EXPECT_EQ(record.MissedCount(), 2u);
}

TEST_F(Record, OnlyTheNewestViewsAreComparedWith) {
    record.ViewWritten({10, 20});
    for (std::size_t i = 1; i <= ArrivalRecord::RecentViews; ++i) {
        record.ViewWritten({10 + static_cast<double>(i), 20});
    }
    // The first view is now one too old: a camera there no longer counts.
    record.Reported(At(10, 20), judge);
    EXPECT_EQ(record.ReachedCount(), 0u);
    record.Reported(At(11, 20), judge);
    EXPECT_TRUE(record.Views()[1].reached);
}

TEST_F(Record, KeepsTheFirstViewsOfAVeryLongVoyage) {
    for (std::size_t i = 0; i < ArrivalRecord::MaxViews + 3; ++i) {
        record.ViewWritten({static_cast<double>(i) / 1000, 0});
    }
    EXPECT_EQ(record.Views().size(), ArrivalRecord::MaxViews);
    EXPECT_EQ(record.Dropped(), 3u);
    record.Clear();
    EXPECT_TRUE(record.Views().empty());
    EXPECT_EQ(record.Dropped(), 0u);
    EXPECT_EQ(record.ReachedCount(), 0u);
}

TEST_F(Record, AReportBeforeAnyViewChangesNothing) {
    record.Reported(At(0, 0), judge);
    EXPECT_TRUE(record.Views().empty());
    EXPECT_EQ(record.ReachedCount(), 0u);
}

} // namespace
} // namespace tembrel
