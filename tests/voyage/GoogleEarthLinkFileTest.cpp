// The Google Earth link: the refresh interval it accepts, the view file's URL
// and the whole document for the help example's period.
#include "GoogleEarthLinkFile.h"

#include "Messages.h"
#include "VoyageErrors.h"

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

struct UrlCase {
    const char8_t* path; // UTF-8 on every system, as the window hands paths over
    const char* url;
};

void PrintTo(const UrlCase& c, std::ostream* out) {
    *out << reinterpret_cast<const char*>(c.path);
}

class FileUrl : public ::testing::TestWithParam<UrlCase> {};

TEST_P(FileUrl, PercentEncodesThePath) {
    EXPECT_EQ(GoogleEarthLinkFile::FileUrl(std::filesystem::path(GetParam().path)), GetParam().url);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileUrl,
    ::testing::Values(UrlCase{u8"/tmp/TembrelData.KML", "file:///tmp/TembrelData.KML"},
                      UrlCase{u8"/home/a b/c&d#e%f.KML", "file:///home/a%20b/c%26d%23e%25f.KML"},
                      UrlCase{u8"/Caf\u00E9/x", "file:///Caf%C3%A9/x"},
                      UrlCase{u8"/a/<b>'\"", "file:///a/%3Cb%3E%27%22"},
                      UrlCase{u8"C:/Maps/TembrelData.KML", "file:///C:/Maps/TembrelData.KML"}));

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
              "<NetworkLink>\n"
              " <name>Tembrel</name>\n"
              " <flyToView>1</flyToView>\n"
              " <Link>\n"
              "  <href>" +
                  std::string(HelpViewUrl) +
                  "</href>\n"
                  "  <refreshMode>onInterval</refreshMode>\n"
                  "  <refreshInterval>10</refreshInterval>\n"
                  " </Link>\n"
                  "</NetworkLink>\n"
                  "</kml>\n");
}

TEST(GoogleEarthLinkFile, RelativeViewFileIsMadeAbsolute) {
    const std::string document = GoogleEarthLinkFile::Render("TembrelData.KML", 5);
    const std::string expected =
        "<href>" +
        GoogleEarthLinkFile::FileUrl(std::filesystem::current_path() / "TembrelData.KML") +
        "</href>";
    EXPECT_NE(document.find(expected), std::string::npos) << document;
}

} // namespace
} // namespace tembrel
