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
    const char* path;
    const char* url;
};

void PrintTo(const UrlCase& c, std::ostream* out) {
    *out << c.path;
}

class FileUrl : public ::testing::TestWithParam<UrlCase> {};

TEST_P(FileUrl, PercentEncodesThePath) {
    EXPECT_EQ(GoogleEarthLinkFile::FileUrl(GetParam().path), GetParam().url);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileUrl,
    ::testing::Values(UrlCase{"/tmp/TembrelData.KML", "file:///tmp/TembrelData.KML"},
                      UrlCase{"/home/a b/c&d#e%f.KML", "file:///home/a%20b/c%26d%23e%25f.KML"},
                      UrlCase{"/Caf\xC3\xA9/x", "file:///Caf%C3%A9/x"},
                      UrlCase{"/a/<b>'\"", "file:///a/%3Cb%3E%27%22"},
                      UrlCase{"C:/Maps/TembrelData.KML", "file:///C:/Maps/TembrelData.KML"}));

TEST(GoogleEarthLinkFile, HelpExampleDocument) {
    EXPECT_EQ(GoogleEarthLinkFile::Render("/home/user/maps/TembrelData.KML", 10),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
              "<NetworkLink>\n"
              " <name>Tembrel</name>\n"
              " <flyToView>1</flyToView>\n"
              " <Link>\n"
              "  <href>file:///home/user/maps/TembrelData.KML</href>\n"
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
