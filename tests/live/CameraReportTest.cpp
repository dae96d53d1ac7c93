// The query Google Earth appends to each fetch of the live link, read into a
// camera report: the worked example, each way a query is refused, and the
// bounds.
#include "CameraReport.h"

#include <gtest/gtest.h>

#include <string>

namespace tembrel {
namespace {

constexpr const char* Example = "lon=31.25&lat=30.05&range=2500&tilt=0&heading=-12.5"
                                "&bbox=31.2,30.01,31.3,30.09&w=1000&h=700";

TEST(CameraReport, ReadsEveryValueOfTheViewFormat) {
    const auto report = ParseCameraReport(Example);
    ASSERT_TRUE(report);
    EXPECT_DOUBLE_EQ(report->lon, 31.25);
    EXPECT_DOUBLE_EQ(report->lat, 30.05);
    EXPECT_DOUBLE_EQ(report->range, 2500);
    EXPECT_DOUBLE_EQ(report->tilt, 0);
    EXPECT_DOUBLE_EQ(report->heading, -12.5);
    EXPECT_DOUBLE_EQ(report->west, 31.2);
    EXPECT_DOUBLE_EQ(report->south, 30.01);
    EXPECT_DOUBLE_EQ(report->east, 31.3);
    EXPECT_DOUBLE_EQ(report->north, 30.09);
    EXPECT_EQ(report->width, 1000);
    EXPECT_EQ(report->height, 700);
}

struct QueryCase {
    const char* name;
    std::string query;
    bool accepted;
};

void PrintTo(const QueryCase& c, std::ostream* out) {
    *out << c.name;
}

class Queries : public ::testing::TestWithParam<QueryCase> {};

TEST_P(Queries, AcceptsOnlyWholePlainReports) {
    EXPECT_EQ(ParseCameraReport(GetParam().query).has_value(), GetParam().accepted);
}

std::string With(const std::string& from, const std::string& to) {
    std::string query = Example;
    query.replace(query.find(from), from.size(), to);
    return query;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Queries,
    ::testing::Values(
        QueryCase{"other_order_and_keys",
                  "w=1000&h=700&x=1&bbox=31.2,30.01,31.3,30.09&heading=0"
                  "&tilt=0&range=2500&lat=30.05&lon=31.25",
                  true},
        QueryCase{"escaped_commas", With("31.2,30.01,31.3,30.09", "31.2%2C30.01%2c31.3%2C30.09"),
                  true},
        QueryCase{"exponent", With("range=2500", "range=2.5e3"), true},
        QueryCase{"antimeridian_box", With("31.2,30.01,31.3", "179.9,30.01,-179.9"), true},
        QueryCase{"empty", "", false}, QueryCase{"missing_key", With("&w=1000", ""), false},
        QueryCase{"repeated_key", std::string(Example) + "&lon=1", false},
        QueryCase{"comma_decimal", With("lat=30.05", "lat=30,05"), false},
        QueryCase{"leading_plus", With("lat=30.05", "lat=+30.05"), false},
        QueryCase{"space", With("lat=30.05", "lat= 30.05"), false},
        QueryCase{"not_a_number", With("lat=30.05", "lat=nan"), false},
        QueryCase{"infinite", With("range=2500", "range=inf"), false},
        QueryCase{"huge_exponent", With("range=2500", "range=1e999"), false},
        QueryCase{"latitude_beyond_pole", With("lat=30.05", "lat=90.5"), false},
        QueryCase{"longitude_beyond", With("lon=31.25", "lon=-180.01"), false},
        QueryCase{"box_upside_down", With("30.01,31.3,30.09", "30.09,31.3,30.01"), false},
        QueryCase{"three_box_numbers", With("31.2,30.01,31.3,30.09", "31.2,30.01,31.3"), false},
        QueryCase{"five_box_numbers", With("30.09", "30.09,1"), false},
        QueryCase{"fractional_pixels", With("w=1000", "w=1000.5"), false},
        QueryCase{"bad_escape", With("31.2,30.01", "31.2%G,30.01"), false},
        QueryCase{"cut_escape", std::string(Example) + "&x=%2", true},
        QueryCase{"cut_escape_in_value", With("h=700", "h=70%2"), false},
        QueryCase{"too_long", std::string(Example) + "&pad=" + std::string(1024, 'x'), false}),
    [](const ::testing::TestParamInfo<QueryCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace tembrel
