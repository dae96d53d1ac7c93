// The Google Earth link: the refresh interval it accepts and the whole
// document for the help example's period.
#include "GoogleEarthLinkFile.h"

#include "Messages.h"
#include "VoyageErrors.h"

#include <QString>
#include <QUrl>

#include <gtest/gtest.h>

#include <string>

namespace tembrel {
namespace {

struct RefreshCase {
    const char* text;
    std::int32_t seconds; // 0: refused
};

void PrintTo(const RefreshCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class RefreshSeconds : public ::testing::TestWithParam<RefreshCase> {};

TEST_P(RefreshSeconds, AcceptsWholeSecondsAboveZero) {
    const RefreshCase& c = GetParam();
    if (c.seconds > 0) {
        EXPECT_EQ(GoogleEarthLinkFile::RefreshSeconds(c.text), c.seconds);
        return;
    }
    try {
        GoogleEarthLinkFile::RefreshSeconds(c.text);
        ADD_FAILURE() << "accepted";
    } catch (const VoyageError& e) {
        EXPECT_STREQ(e.what(), messages::DataNotCorrect);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefreshSeconds,
    ::testing::Values(RefreshCase{"10", 10}, RefreshCase{"1", 1}, RefreshCase{"  7", 7},
                      RefreshCase{"$A", 10},           // the integer conversion takes hexadecimal
                      RefreshCase{"2147483", 2147483}, // the timer's longest period
                      RefreshCase{"2147484", 0}, RefreshCase{"0", 0}, RefreshCase{"-5", 0},
                      RefreshCase{"2.5", 0}, RefreshCase{"10 ", 0}, RefreshCase{"", 0},
                      RefreshCase{"ten", 0}));

// An absolute path on the system the tests run on.
#ifdef _WIN32
constexpr const char* HelpViewFile = "C:/Users/user/maps/TembrelData.KML";
constexpr const char* HelpViewUrl = "file:///C:/Users/user/maps/TembrelData.KML";
#else
constexpr const char* HelpViewFile = "/home/user/maps/TembrelData.KML";
constexpr const char* HelpViewUrl = "file:///home/user/maps/TembrelData.KML";
#endif

TEST(GoogleEarthLinkFile, HelpExampleDocument) {
    EXPECT_EQ(GoogleEarthLinkFile::Render(HelpViewFile, 10),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
              " <NetworkLink>\n"
              "  <name>Tembrel</name>\n"
              "  <flyToView>1</flyToView>\n"
              "  <Link>\n"
              "   <href>" +
                  std::string(HelpViewUrl) +
                  "</href>\n"
                  "   <refreshMode>onInterval</refreshMode>\n"
                  "   <refreshInterval>10</refreshInterval>\n"
                  "  </Link>\n"
                  " </NetworkLink>\n"
                  "</kml>\n");
}

TEST(GoogleEarthLinkFile, RelativeViewFileIsMadeAbsolute) {
    const std::string document = GoogleEarthLinkFile::Render("TembrelData.KML", 5);
    const QString absolute = QString::fromStdString(
        (std::filesystem::current_path() / "TembrelData.KML").generic_string());
    const std::string expected =
        "<href>" + QUrl::fromLocalFile(absolute).toEncoded().toStdString() + "</href>";
    EXPECT_NE(document.find(expected), std::string::npos) << document;
}

TEST(GoogleEarthLinkFile, LiveLinkFetchesFromTheServerWithTheCamerasView) {
    EXPECT_EQ(GoogleEarthLinkFile::RenderLive(
                  24680, "/0123456789abcdef0123456789abcdef/TembrelData.KML", 10),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
              " <NetworkLink>\n"
              "  <name>Tembrel</name>\n"
              "  <flyToView>1</flyToView>\n"
              "  <Link>\n"
              "   <href>http://127.0.0.1:24680/0123456789abcdef0123456789abcdef/TembrelData.KML"
              "</href>\n"
              "   <refreshMode>onInterval</refreshMode>\n"
              "   <refreshInterval>10</refreshInterval>\n"
              "   <viewRefreshMode>onRequest</viewRefreshMode>\n"
              "   <viewFormat>lon=[lookatLon]&amp;lat=[lookatLat]&amp;range=[lookatRange]"
              "&amp;tilt=[lookatTilt]&amp;heading=[lookatHeading]&amp;bbox=[bboxWest],[bboxSouth],"
              "[bboxEast],[bboxNorth]&amp;w=[horizPixels]&amp;h=[vertPixels]</viewFormat>\n"
              "  </Link>\n"
              " </NetworkLink>\n"
              "</kml>\n");
}

struct OutdatedCase {
    const char* name;
    std::string document;
    bool outdated;
};

void PrintTo(const OutdatedCase& c, std::ostream* out) {
    *out << c.name;
}

class OutdatedLiveLink : public ::testing::TestWithParam<OutdatedCase> {};

TEST_P(OutdatedLiveLink, IsTheOneThroughWhichGoogleEarthSendsNoCamera) {
    EXPECT_EQ(GoogleEarthLinkFile::IsOutdatedLiveLink(GetParam().document), GetParam().outdated);
}

std::string LinkWith(const std::string& href, const std::string& viewRefreshMode) {
    return "<?xml version=\"1.0\"?><kml xmlns=\"http://www.opengis.net/kml/2.2\"><NetworkLink>"
           "<Link><href>" +
           href + "</href><refreshMode>onInterval</refreshMode>" + viewRefreshMode +
           "<viewFormat>lon=[lookatLon]</viewFormat></Link></NetworkLink></kml>";
}

const std::string SecretPath =
    "http://127.0.0.1:24680/0123456789abcdef0123456789abcdef/TembrelData.KML";

INSTANTIATE_TEST_SUITE_P(
    Cases, OutdatedLiveLink,
    ::testing::Values(
        // The live link an earlier Tembrel wrote.
        OutdatedCase{"earlierVersion",
                     LinkWith("http://127.0.0.1:24680/TembrelData.KML",
                              "<viewRefreshMode>never</viewRefreshMode>"),
                     true},
        OutdatedCase{"noViewRefreshMode", LinkWith(SecretPath, ""), true},
        OutdatedCase{"neverWithTheSecret",
                     LinkWith(SecretPath, "<viewRefreshMode>never</viewRefreshMode>"), true},
        OutdatedCase{"pathWithoutSecret",
                     LinkWith("http://localhost:24680/TembrelData.KML",
                              "<viewRefreshMode>onRequest</viewRefreshMode>"),
                     true},
        OutdatedCase{"todays",
                     GoogleEarthLinkFile::RenderLive(
                         24680, "/0123456789abcdef0123456789abcdef/TembrelData.KML", 10),
                     false},
        OutdatedCase{"fileLink", GoogleEarthLinkFile::Render(HelpViewFile, 10), false},
        OutdatedCase{"someoneElsesServer",
                     LinkWith("http://example.com/TembrelData.KML",
                              "<viewRefreshMode>never</viewRefreshMode>"),
                     false},
        OutdatedCase{"notKml", "24680\n", false}, OutdatedCase{"empty", "", false}),
    [](const ::testing::TestParamInfo<OutdatedCase>& info) {
        return std::string(info.param.name);
    });

} // namespace
} // namespace tembrel
