// The voyage report's exports: the missed centres read back by the points
// import, and the reported boxes as KML polygons.
#include "VoyageReport.h"
#include "CsvPointsReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tembrel {
namespace {

std::vector<Arrival> ThreeViews() {
    Arrival reached{.lon = 2.2877f, .lat = 48.86f, .reached = true};
    reached.west = 2.28f;
    reached.south = 48.855f;
    reached.east = 2.295f;
    reached.north = 48.865f;
    const Arrival missedWest{.lon = -122.084f, .lat = 37.422f};
    const Arrival missedSouth{.lon = 31.2357f, .lat = -30.0444f};
    return {missedWest, reached, missedSouth};
}

TEST(VoyageReport, MissedCentresAreImportedBackAsPoints) {
    const std::string csv = VoyageReport::MissedPoints(ThreeViews());
    EXPECT_EQ(csv, "longitude,latitude\r\n-122.084000,37.422001\r\n31.235701,-30.044399\r\n");
    const PointsImport imported = CsvPointsReader::Read(csv);
    EXPECT_TRUE(imported.problems.empty());
    ASSERT_EQ(imported.points.size(), 2u);
    EXPECT_NEAR(static_cast<double>(imported.points[0].longitude), -122.084, 1e-5);
    EXPECT_NEAR(static_cast<double>(imported.points[0].latitude), 37.422, 1e-5);
    EXPECT_NEAR(static_cast<double>(imported.points[1].latitude), -30.0444, 1e-5);
}

TEST(VoyageReport, ReportedBoxesAreOnePolygonPerReachedView) {
    const std::string kml = VoyageReport::ReportedBoxes(ThreeViews());
    EXPECT_NE(kml.find("<name>View 2</name>"), std::string::npos) << kml;
    EXPECT_EQ(kml.find("<name>View 1</name>"), std::string::npos);
    EXPECT_NE(kml.find("<coordinates>2.280000,48.855000,0 2.295000,48.855000,0 "
                       "2.295000,48.865002,0 2.280000,48.865002,0 2.280000,48.855000,0"
                       "</coordinates>"),
              std::string::npos)
        << kml;
    EXPECT_NE(kml.find("xmlns=\"http://www.opengis.net/kml/2.2\""), std::string::npos);
}

TEST(VoyageReport, NothingMissedIsAHeaderAlone) {
    std::vector<Arrival> views = ThreeViews();
    for (Arrival& view : views) {
        view.reached = true;
    }
    EXPECT_EQ(VoyageReport::MissedPoints(views), "longitude,latitude\r\n");
}

} // namespace
} // namespace tembrel
