// Points and areas from CSV texts: separators, headers, quoting, extra
// columns, and the lines left out with their numbers and reasons.
#include "ImportTestHelpers.h"

#include "CsvAreasReader.h"
#include "CsvLines.h"
#include "CsvPointsReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tembrel {
namespace {

struct Point {
    long double lon;
    long double lat;
    int line;
};

struct PointsCase {
    const char* name;
    std::string text;
    std::vector<Point> points;
    std::vector<ImportProblem> problems;
};

void PrintTo(const PointsCase& c, std::ostream* out) {
    *out << c.name;
}

class CsvPoints : public ::testing::TestWithParam<PointsCase> {};

TEST_P(CsvPoints, Read) {
    const PointsCase& c = GetParam();
    const PointsImport result = CsvPointsReader::Read(c.text);
    ASSERT_EQ(result.points.size(), c.points.size());
    for (std::size_t i = 0; i < c.points.size(); ++i) {
        // The same conversion as the text "30.102" typed into the memo.
        EXPECT_EQ(result.points[i].longitude, c.points[i].lon) << i;
        EXPECT_EQ(result.points[i].latitude, c.points[i].lat) << i;
        EXPECT_EQ(result.points[i].line, c.points[i].line) << i;
    }
    EXPECT_EQ(result.problems, c.problems);
}

INSTANTIATE_TEST_SUITE_P(
    WellFormed, CsvPoints,
    ::testing::Values(
        PointsCase{"comma",
                   "30.102,31.215\n-25.365,16.2145\n",
                   {{30.102L, 31.215L, 1}, {-25.365L, 16.2145L, 2}},
                   {}},
        PointsCase{"blanks_and_crlf",
                   "  30.102 , 31.215 \r\n\r\n-25.365, 16.2145",
                   {{30.102L, 31.215L, 1}, {-25.365L, 16.2145L, 3}},
                   {}},
        PointsCase{"tab", "30.102\t31.215\tCairo\n", {{30.102L, 31.215L, 1}}, {}},
        PointsCase{"semicolon_decimal_comma",
                   "30,102;31,215\n-25.365;16.2145\n",
                   {{30.102L, 31.215L, 1}, {-25.365L, 16.2145L, 2}},
                   {}},
        PointsCase{"header_and_extra_columns",
                   "lon,lat,name,ele\n30.102,31.215,Cairo,23\n",
                   {{30.102L, 31.215L, 2}},
                   {}},
        // Header names may put the latitude first.
        PointsCase{"header_latitude_first",
                   "Name;Latitude;Longitude\nCairo;31.215;30.102\n",
                   {{30.102L, 31.215L, 2}},
                   {}},
        PointsCase{"quoted",
                   "\"lng\",\"lat\"\n\"30.102\",\"31.215\"\n\"a, \"\"b\"\"\",1\n",
                   {{30.102L, 31.215L, 2}},
                   {{3, "longitude 'a, \"b\"' is not a number"}}},
        PointsCase{"byte_order_mark",
                   "\xEF\xBB\xBF"
                   "1,2\n",
                   {{1, 2, 1}},
                   {}},
        PointsCase{"cr_only_lines", "1,2\r3,4\r", {{1, 2, 1}, {3, 4, 2}}, {}},
        PointsCase{"exponent", "1e-3,-2.5E1\n", {{0.001L, -25, 1}}, {}},
        PointsCase{"limits_included", "180,-90\n-180,90\n", {{180, -90, 1}, {-180, 90, 2}}, {}},
        PointsCase{"empty", "", {}, {}},
        PointsCase{"header_only", "longitude,latitude\n", {}, {}}));

INSTANTIATE_TEST_SUITE_P(
    Malformed, CsvPoints,
    ::testing::Values(
        PointsCase{
            "letters",
            "1,2\nabc,2\n1,north\n3,4\n",
            {{1, 2, 1}, {3, 4, 4}},
            {{2, "longitude 'abc' is not a number"}, {3, "latitude 'north' is not a number"}}},
        PointsCase{
            "one_field", "1,2\n5\n", {{1, 2, 1}}, {{2, "expected a longitude and a latitude"}}},
        PointsCase{"out_of_range",
                   "1,2\n181,0\n0,-90.5\n",
                   {{1, 2, 1}},
                   {{2, "longitude 181 is outside -180 to 180"},
                    {3, "latitude -90.5 is outside -90 to 90"}}},
        // A comma separates fields here, so "30,1" is two fields.
        PointsCase{"decimal_comma_with_comma_separator", "30,1,31\n", {{30, 1, 1}}, {}},
        PointsCase{"thousands_separator",
                   "1;2\n1.000,5;2\n",
                   {{1, 2, 1}},
                   {{2, "longitude '1.000,5' is not a number"}}},
        // Only the first line can be a header; later words are bad lines.
        PointsCase{"second_header",
                   "lon,lat\n1,2\nlon,lat\n",
                   {{1, 2, 2}},
                   {{3, "longitude 'lon' is not a number"}}},
        PointsCase{"long_text_cut_short",
                   "1,2\n" + std::string(60, 'x') + ",2\n",
                   {{1, 2, 1}},
                   {{2, "longitude '" + std::string(40, 'x') + "...' is not a number"}}}));

struct AreasCase {
    const char* name;
    std::string text;
    std::vector<ImportedArea> areas;
    std::vector<ImportProblem> problems;
};

void PrintTo(const AreasCase& c, std::ostream* out) {
    *out << c.name;
}

class CsvAreas : public ::testing::TestWithParam<AreasCase> {};

TEST_P(CsvAreas, Read) {
    const AreasCase& c = GetParam();
    const AreasImport result = CsvAreasReader::Read(c.text);
    EXPECT_EQ(result.areas, c.areas);
    EXPECT_EQ(result.problems, c.problems);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvAreas,
    ::testing::Values(
        AreasCase{"example_rows",
                  "30.124555,31.254447,2.5,0.54\n31.55125,29.79862,1.2,9.4\n",
                  {{30.124555L, 31.254447L, 2.5L, 0.54L, 1}, {31.55125L, 29.79862L, 1.2L, 9.4L, 2}},
                  {}},
        AreasCase{
            "header_reordered",
            "Width (km)\tHeight (km)\tLongitude\tLatitude\tName\n1\t0.4\t2.2877\t48.86\tParis\n",
            {{48.86L, 2.2877L, 1, 0.4L, 2}},
            {}},
        AreasCase{"header_unknown_names_keeps_order",
                  "a;b;c;d\n48,86;2,2877;1;0,4\n",
                  {{48.86L, 2.2877L, 1, 0.4L, 2}},
                  {}},
        AreasCase{"bad_lines",
                  "48.86,2.2877,1,0.4\n48.86,2.2877,1\n48.86,2.2877,0,0.4\n48.86,2.2877,1,-2\n"
                  "95,2,1,1\n48.86,east,1,1\n",
                  {{48.86L, 2.2877L, 1, 0.4L, 1}},
                  {{2, "expected a latitude, a longitude, a width and a height"},
                   {3, "width 0 is not above 0"},
                   {4, "height -2 is not above 0"},
                   {5, "latitude 95 is outside -90 to 90"},
                   {6, "longitude 'east' is not a number"}}}));

TEST(CsvLines, SeparatorIsTheFirstLinesOwn) {
    EXPECT_EQ(CsvLines("\n\na;b,c\n1\t2\n").Separator(), ';');
    EXPECT_EQ(CsvLines("a\tb;c\n").Separator(), '\t');
    EXPECT_EQ(CsvLines("a,b\n1;2\n").Separator(), ',');
    const CsvLines lines("  \n1,2\n\t\n3,4");
    ASSERT_EQ(lines.Lines().size(), 2u);
    EXPECT_EQ(lines.Lines()[0].number, 2);
    EXPECT_EQ(lines.Lines()[1].number, 4);
}

TEST(CsvLines, QuotedFields) {
    EXPECT_EQ(CsvLines::SplitFields(R"( "a, b" , "c""d",e )", ','),
              (std::vector<std::string>{"a, b", "c\"d", "e"}));
    // A quote inside a field is kept as it stands.
    EXPECT_EQ(CsvLines::SplitFields(R"(a"b,c)", ','), (std::vector<std::string>{"a\"b", "c"}));
    // An unclosed quote runs to the end of the line.
    EXPECT_EQ(CsvLines::SplitFields(R"(1,"2,3)", ','), (std::vector<std::string>{"1", "2,3"}));
    EXPECT_EQ(CsvLines::SplitFields("", ','), (std::vector<std::string>{""}));
}

} // namespace
} // namespace tembrel
