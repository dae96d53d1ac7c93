// Points from GPX and KML documents, read with a real XML parser: the
// elements that hold points, the points left out with their lines, and
// documents refused whole.
#include "ImportTestHelpers.h"

#include "GpxPointsReader.h"
#include "KmlPointsReader.h"
#include "VoyageErrors.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tembrel {
namespace {

using Reader = PointsImport (*)(const QByteArray&);

struct XmlCase {
    const char* name;
    Reader read;
    const char* document;
    std::vector<ImportedPoint> points;
    std::vector<ImportProblem> problems;
};

void PrintTo(const XmlCase& c, std::ostream* out) {
    *out << c.name;
}

class XmlPoints : public ::testing::TestWithParam<XmlCase> {};

TEST_P(XmlPoints, Read) {
    const XmlCase& c = GetParam();
    const PointsImport result = c.read(QByteArray(c.document));
    EXPECT_EQ(result.points, c.points);
    EXPECT_EQ(result.problems, c.problems);
}

INSTANTIATE_TEST_SUITE_P(
    Gpx, XmlPoints,
    ::testing::Values(XmlCase{"waypoints_tracks_and_routes",
                              &GpxPointsReader::Read,
                              R"(<?xml version="1.0"?>
<gpx version="1.1" creator="x" xmlns="http://www.topografix.com/GPX/1/1">
  <wpt lat="31.215" lon="30.102"><name>Cairo</name></wpt>
  <trk><trkseg>
    <trkpt lat="16.2145" lon="-25.365"><ele>12</ele></trkpt>
    <trkpt lon="2.2877" lat="48.86"/>
  </trkseg></trk>
  <rte><rtept lat="-33.91" lon="-70.71"/></rte>
</gpx>
)",
                              {{30.102L, 31.215L, 3},
                               {-25.365L, 16.2145L, 5},
                               {2.2877L, 48.86L, 6},
                               {-70.71L, -33.91L, 8}},
                              {}},
                      XmlCase{"bad_points_keep_their_lines",
                              &GpxPointsReader::Read,
                              R"(<gpx>
<wpt lat="1" lon="2"/>
<wpt lat="1"/>
<wpt lat="north" lon="2"/>
<trkpt lat="91" lon="2"/>
<trkpt lat="1" lon="-200"/>
</gpx>)",
                              {{2, 1, 2}},
                              {{3, "wpt without lat and lon"},
                               {4, "latitude 'north' is not a number"},
                               {5, "latitude 91 is outside -90 to 90"},
                               {6, "longitude -200 is outside -180 to 180"}}},
                      XmlCase{
                          "no_points", &GpxPointsReader::Read, "<gpx><metadata/></gpx>", {}, {}}));

INSTANTIATE_TEST_SUITE_P(
    Kml, XmlPoints,
    ::testing::Values(
        XmlCase{"point_placemarks",
                &KmlPointsReader::Read,
                R"(<?xml version="1.0" encoding="UTF-8"?>
<kml xmlns="http://www.opengis.net/kml/2.2">
<Document>
  <Placemark><name>Cairo</name><Point><coordinates>30.102,31.215,0</coordinates></Point></Placemark>
  <Folder>
    <Placemark>
      <Point>
        <coordinates>
          -25.365,16.2145
        </coordinates>
      </Point>
    </Placemark>
  </Folder>
  <Placemark><LineString><coordinates>1,2 3,4</coordinates></LineString></Placemark>
  <Placemark><MultiGeometry>
    <Point><coordinates>5,6</coordinates></Point>
    <Point><coordinates>7,8</coordinates></Point>
  </MultiGeometry></Placemark>
  <PhotoOverlay><Point><coordinates>9,10</coordinates></Point></PhotoOverlay>
</Document>
</kml>
)",
                {{30.102L, 31.215L, 4}, {-25.365L, 16.2145L, 8}, {5, 6, 16}, {7, 8, 17}},
                {}},
        XmlCase{
            "kml_2_0_namespace",
            &KmlPointsReader::Read,
            R"(<kml xmlns="http://earth.google.com/kml/2.0"><Placemark><Point><coordinates>2.2877,48.86</coordinates></Point></Placemark></kml>)",
            {{2.2877L, 48.86L, 1}},
            {}},
        XmlCase{"bad_points_keep_their_lines",
                &KmlPointsReader::Read,
                R"(<kml><Document>
<Placemark><Point><coordinates>1,2</coordinates></Point></Placemark>
<Placemark><Point><coordinates>1,2 3,4</coordinates></Point></Placemark>
<Placemark><Point><coordinates>1</coordinates></Point></Placemark>
<Placemark><Point><coordinates>a,2</coordinates></Point></Placemark>
<Placemark><Point></Point></Placemark>
<Placemark><Point><coordinates>1,95</coordinates></Point></Placemark>
</Document></kml>)",
                {{1, 2, 2}},
                {{3, "a Point needs one coordinate \"lon,lat[,alt]\", it has 2"},
                 {4, "coordinates '1' are not \"lon,lat[,alt]\""},
                 {5, "longitude 'a' is not a number"},
                 {6, "a Point without coordinates"},
                 {7, "latitude 95 is outside -90 to 90"}}}));

struct ShapesCase {
    const char* name;
    const char* document;
    std::size_t points;
    OtherShapes shapes;
};

void PrintTo(const ShapesCase& c, std::ostream* out) {
    *out << c.name;
}

class KmlShapes : public ::testing::TestWithParam<ShapesCase> {};

TEST_P(KmlShapes, AreCountedBesideThePoints) {
    const ShapesCase& c = GetParam();
    const PointsImport result = KmlPointsReader::Read(QByteArray(c.document));
    EXPECT_EQ(result.points.size(), c.points);
    EXPECT_EQ(result.shapes, c.shapes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KmlShapes,
    ::testing::Values(
        ShapesCase{"paths_and_a_polygon_with_a_hole",
                   R"(<kml xmlns="http://www.opengis.net/kml/2.2"><Document>
<Placemark><LineString><coordinates>1,2 3,4</coordinates></LineString></Placemark>
<Folder><Placemark><LineString><coordinates>1,2 3,4</coordinates></LineString></Placemark></Folder>
<Placemark><MultiGeometry><LineString><coordinates>1,2 3,4</coordinates></LineString>
<Polygon><outerBoundaryIs><LinearRing><coordinates>1,2 3,4 5,6 1,2</coordinates></LinearRing>
</outerBoundaryIs><innerBoundaryIs><LinearRing><coordinates>1,2 3,4 5,6 1,2</coordinates>
</LinearRing></innerBoundaryIs></Polygon></MultiGeometry></Placemark>
</Document></kml>)",
                   0,
                   {3, 1, 0}},
        ShapesCase{"ring_of_its_own_and_tracks",
                   R"(<kml xmlns:gx="http://www.google.com/kml/ext/2.2">
<Placemark><LinearRing><coordinates>1,2 3,4 5,6 1,2</coordinates></LinearRing></Placemark>
<Placemark><gx:Track><gx:coord>1 2 0</gx:coord></gx:Track></Placemark>
<Placemark><gx:MultiTrack><gx:Track/><gx:Track/></gx:MultiTrack></Placemark>
</kml>)",
                   0,
                   {1, 0, 3}},
        ShapesCase{"points_beside_shapes",
                   R"(<kml><Placemark><Point><coordinates>1,2</coordinates></Point></Placemark>
<Placemark><Polygon><outerBoundaryIs><LinearRing><coordinates>1,2 3,4 5,6 1,2</coordinates>
</LinearRing></outerBoundaryIs></Polygon></Placemark>
<Placemark><Polygon/></Placemark><Placemark><LinearRing/></Placemark></kml>)",
                   1,
                   {1, 2, 0}},
        // Outside a placemark a geometry is no shape of the file's.
        ShapesCase{"outside_placemarks", R"(<kml><LineString/><Polygon/></kml>)", 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase {
    const char* name;
    Reader read;
    const char* document;
    const char* message; // the start of the refusal's message
};

void PrintTo(const RefusedCase& c, std::ostream* out) {
    *out << c.name;
}

class XmlRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(XmlRefused, NamesTheFault) {
    const RefusedCase& c = GetParam();
    try {
        c.read(QByteArray(c.document));
        ADD_FAILURE() << "read";
    } catch (const VoyageError& e) {
        EXPECT_TRUE(std::string(e.what()).starts_with(c.message)) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XmlRefused,
    ::testing::Values(
        RefusedCase{"gpx_unclosed", &GpxPointsReader::Read, "<gpx>\n<wpt lat=\"1\" lon=\"2\">\n",
                    "The file is not well-formed XML: "},
        RefusedCase{"gpx_mismatched", &GpxPointsReader::Read,
                    "<gpx>\n<wpt lat=\"1\" lon=\"2\"></trk>", "The file is not well-formed XML: "},
        RefusedCase{"kml_empty", &KmlPointsReader::Read, "", "The file is not well-formed XML: "},
        RefusedCase{"kml_text_not_xml", &KmlPointsReader::Read, "30.102,31.215\n",
                    "The file is not well-formed XML: "},
        RefusedCase{"kml_child_in_coordinates", &KmlPointsReader::Read,
                    "<kml><Placemark><Point><coordinates>1,2<b>x</b></coordinates></Point>"
                    "</Placemark><Placemark",
                    "The file is not well-formed XML: "},
        // Entities that expand without bound are not followed.
        RefusedCase{"entity_expansion", &GpxPointsReader::Read,
                    R"(<?xml version="1.0"?>
<!DOCTYPE gpx [
<!ENTITY a "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa">
<!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">
<!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">
<!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;">
]>
<gpx><wpt lat="1" lon="2"><name>&d;</name></wpt></gpx>)",
                    "The file holds a DOCTYPE declaration (line 2)"}));

TEST(XmlRefused, MessageNamesTheLine) {
    try {
        GpxPointsReader::Read(QByteArray("<gpx>\n<wpt lat=\"1\" lon=\"2\">\n</gpx>\n"));
        FAIL() << "read";
    } catch (const VoyageError& e) {
        EXPECT_TRUE(std::string(e.what()).ends_with("(line 3).")) << e.what();
    }
}

} // namespace
} // namespace tembrel
