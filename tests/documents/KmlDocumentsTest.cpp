// The Google Earth link and the coverage preview, read back with Qt's XML
// stream reader: each is well-formed KML 2.2 and holds exactly the expected
// elements for the help example; the preview's polygons tile the area.
#include "CoveragePreview.h"
#include "GoogleEarthLinkFile.h"
#include "HeadlessWindow.h"
#include "VirtualClock.h"
#include "VoyageErrors.h"
#include "VoyageEstimate.h"
#include "VoyageEstimator.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tembrel {
namespace {

// Every element of a document as "path" or "path = text" (text of elements
// without children), in document order; the root's namespace first.
std::vector<std::string> Elements(const std::string& document) {
    QXmlStreamReader xml(QByteArray::fromStdString(document));
    std::vector<std::string> elements;
    QStringList path;
    QString text;
    bool hadChild = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (path.isEmpty()) {
                elements.push_back("namespace " + xml.namespaceUri().toString().toStdString());
            }
            path << xml.name().toString();
            for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                path.last() += QStringLiteral("[%1=%2]").arg(attribute.name(), attribute.value());
            }
            elements.push_back(path.join(QLatin1Char('/')).toStdString());
            text.clear();
            hadChild = false;
        } else if (xml.isCharacters() && !xml.isWhitespace()) {
            text += xml.text();
        } else if (xml.isEndElement()) {
            if (!hadChild && !text.isEmpty()) {
                elements.back() += " = " + text.toStdString();
            }
            path.removeLast();
            text.clear();
            hadChild = true;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line "
                                 << xml.lineNumber() << "\n"
                                 << document;
    return elements;
}

// An absolute path on the system the tests run on, and its file URL.
#ifdef _WIN32
#define ABSOLUTE_ROOT "C:"
#define URL_ROOT "file:///C:"
#else
#define ABSOLUTE_ROOT ""
#define URL_ROOT "file://"
#endif

// A path from UTF-8, as the program makes them from QString on every system.
std::filesystem::path Utf8Path(const std::string& utf8) {
    return std::u8string(utf8.begin(), utf8.end());
}

TEST(GoogleEarthLink, HelpExampleElements) {
    const std::string document =
        GoogleEarthLinkFile::Render(ABSOLUTE_ROOT "/home/user/maps/TembrelData.KML", 10);
    EXPECT_EQ(Elements(document),
              (std::vector<std::string>{
                  "namespace http://www.opengis.net/kml/2.2",
                  "kml",
                  "kml/NetworkLink",
                  "kml/NetworkLink/name = Tembrel",
                  "kml/NetworkLink/flyToView = 1",
                  "kml/NetworkLink/Link",
                  "kml/NetworkLink/Link/href = " URL_ROOT "/home/user/maps/TembrelData.KML",
                  "kml/NetworkLink/Link/refreshMode = onInterval",
                  "kml/NetworkLink/Link/refreshInterval = 10",
              }));
}

TEST(GoogleEarthLink, AwkwardFolderNamesGiveTheSamePathBack) {
    const std::string folder = ABSOLUTE_ROOT "/tmp/R&D <maps> 'A' \"B\" #1 100% Caf\xC3\xA9";
    const std::string document =
        GoogleEarthLinkFile::Render(Utf8Path(folder + "/TembrelData.KML"), 7);
    const std::vector<std::string> elements = Elements(document);
    ASSERT_EQ(elements.size(), 9u);
    const std::string prefix = "kml/NetworkLink/Link/href = ";
    ASSERT_TRUE(elements[6].starts_with(prefix)) << elements[6];
    const QUrl url(QString::fromStdString(elements[6].substr(prefix.size())));
    EXPECT_TRUE(url.isLocalFile());
    EXPECT_EQ(url.toLocalFile().toStdString(), folder + "/TembrelData.KML");
}

// ---------------------------------------------------------------- preview

struct Box {
    double west, south, east, north;
};

// The placemarks of a preview: name, style and the box of its ring or the
// point's coordinates.
struct Placemark {
    std::string folder;
    std::string name;
    std::string style;
    std::string coordinates;
    Box box{};
};

std::vector<Placemark> Placemarks(const std::string& document) {
    QXmlStreamReader xml(QByteArray::fromStdString(document));
    std::vector<Placemark> placemarks;
    std::string folder;
    bool inPlacemark = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            if (xml.isEndElement() && xml.name() == QLatin1String("Placemark")) {
                inPlacemark = false;
            }
            continue;
        }
        const QStringView name = xml.name();
        if (name == QLatin1String("Placemark")) {
            placemarks.emplace_back();
            placemarks.back().folder = folder;
            inPlacemark = true;
        } else if (name == QLatin1String("name") && !inPlacemark) {
            folder = xml.readElementText().toStdString();
        } else if (name == QLatin1String("name")) {
            placemarks.back().name = xml.readElementText().toStdString();
        } else if (name == QLatin1String("styleUrl")) {
            placemarks.back().style = xml.readElementText().toStdString();
        } else if (name == QLatin1String("coordinates")) {
            const QString text = xml.readElementText();
            Placemark& placemark = placemarks.back();
            placemark.coordinates = text.toStdString();
            placemark.box = {1e9, 1e9, -1e9, -1e9};
            for (const QString& tuple : text.split(QLatin1Char(' '))) {
                const QStringList parts = tuple.split(QLatin1Char(','));
                const double lon = parts.value(0).toDouble();
                const double lat = parts.value(1).toDouble();
                placemark.box = {
                    std::min(placemark.box.west, lon), std::min(placemark.box.south, lat),
                    std::max(placemark.box.east, lon), std::max(placemark.box.north, lat)};
            }
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return placemarks;
}

double Surface(const Box& box) {
    return (box.east - box.west) * (box.north - box.south);
}

class PreviewTest : public ::testing::Test {
protected:
    PreviewTest() {
        const char* texts[] = {"48.86", "2.2877", "1", "0.4", "0.3", "0.2", "250", "10"};
        for (int i = 0; i < 8; ++i) {
            window.SetEditText(static_cast<InputEdit>(i), texts[i]);
        }
    }
    std::string Render() const { return CoveragePreview(window, window.Timer(), '.').Render(1); }

    VirtualClock clock;
    HeadlessWindow window{clock};
};

TEST_F(PreviewTest, HelpExampleElements) {
    const std::vector<std::string> elements = Elements(Render());
    std::vector<std::string> expected = {
        "namespace http://www.opengis.net/kml/2.2",
        "kml",
        "kml/Document",
        "kml/Document/name = Tembrel coverage preview",
        "kml/Document/description = Voyage estimate: 6 views, 1 min 10 s (7 periods)",
    };
    const std::vector<std::vector<std::string>> styles = {
        {"area", "ff00ffff", "2", "fill = 0"},
        {"snapshot", "ff00a000", "1", "color = 5000ff00"},
        {"uncovered", "ff0000ff", "1", "color = 800000ff"}};
    for (const auto& style : styles) {
        const std::string path = "kml/Document/Style[id=" + style[0] + "]";
        expected.push_back(path);
        expected.push_back(path + "/LineStyle");
        expected.push_back(path + "/LineStyle/color = " + style[1]);
        expected.push_back(path + "/LineStyle/width = " + style[2]);
        expected.push_back(path + "/PolyStyle");
        expected.push_back(path + "/PolyStyle/" + style[3]);
    }
    expected.push_back("kml/Document/Folder");
    expected.push_back("kml/Document/Folder/name = Area");
    expected.push_back("kml/Document/Folder/description = 6 snapshots: 2 rows of 3 columns");
    const auto polygon = [&](const std::string& name, const std::string& style) {
        const std::string path = "kml/Document/Folder/Placemark";
        expected.push_back(path);
        expected.push_back(path + "/name = " + name);
        expected.push_back(path + "/styleUrl = #" + style);
        expected.push_back(path + "/Polygon");
        expected.push_back(path + "/Polygon/outerBoundaryIs");
        expected.push_back(path + "/Polygon/outerBoundaryIs/LinearRing");
        expected.push_back(path + "/Polygon/outerBoundaryIs/LinearRing/coordinates");
    };
    polygon("Area", "area");
    for (const char* snapshot : {"1.1", "1.2", "1.3", "2.1", "2.2", "2.3"}) {
        polygon(std::string("Snapshot ") + snapshot, "snapshot");
    }
    polygon("Not covered", "uncovered");
    // Compare without the coordinates' texts, which the next test looks at.
    std::vector<std::string> names;
    for (const std::string& element : elements) {
        names.push_back(
            element.substr(0, element.find("/coordinates = ")) +
            (element.find("/coordinates = ") != std::string::npos ? "/coordinates" : ""));
    }
    EXPECT_EQ(names, expected);
}

TEST_F(PreviewTest, HelpExampleGeometry) {
    const std::vector<Placemark> placemarks = Placemarks(Render());
    ASSERT_EQ(placemarks.size(), 8u);
    // The area: from the corner 1 km east and 0.4 km south on the flat scale.
    EXPECT_EQ(placemarks[0].coordinates,
              "2.2877,48.86 2.2877,48.8564444444444 2.29797777777778,48.8564444444444 "
              "2.29797777777778,48.86 2.2877,48.86");
    const double snapWidth = 0.3 * 37 / 3600;
    const double snapHeight = 0.2 * 32 / 3600;
    double covered = 0;
    for (int i = 1; i <= 6; ++i) {
        const Box& box = placemarks[i].box;
        EXPECT_NEAR(box.east - box.west, snapWidth, 1e-12) << placemarks[i].name;
        EXPECT_NEAR(box.north - box.south, snapHeight, 1e-12) << placemarks[i].name;
        covered += Surface(box);
    }
    // The first footprint sits in the north-west corner (to the centre's
    // 32-bit rounding); the uncovered strip is the 0.1 km along the east.
    EXPECT_NEAR(placemarks[1].box.west, 2.2877, 1e-6);
    EXPECT_NEAR(placemarks[1].box.north, 48.86, 1e-6);
    const Box& strip = placemarks[7].box;
    EXPECT_NEAR(strip.east - strip.west, 0.1 * 37 / 3600, 1e-6);
    EXPECT_NEAR(strip.north, 48.86, 1e-12);
    // Footprints and strip tile the area.
    EXPECT_NEAR((covered + Surface(strip)) / Surface(placemarks[0].box), 1.0, 1e-5);
}

TEST_F(PreviewTest, ExampleGridCountsWhatTheVoyageVisits) {
    window.SetActivePage(Page::TS_MAreas);
    window.SetGridCell(0, 0, "30.124555");
    window.SetGridCell(1, 0, "31.254447");
    window.SetGridCell(2, 0, "2.5");
    window.SetGridCell(3, 0, "0.54");
    window.SetGridCell(0, 1, "31.55125");
    window.SetGridCell(1, 1, "29.79862");
    window.SetGridCell(2, 1, "1.2");
    window.SetGridCell(3, 1, "9.4");
    const std::vector<Placemark> placemarks = Placemarks(Render());
    std::map<std::string, std::map<std::string, int>> counts; // folder, style
    for (const Placemark& placemark : placemarks) {
        ++counts[placemark.folder][placemark.style];
    }
    // The second area: 3 columns of 47 rows, not the plan's 184.
    EXPECT_EQ(counts["Area 2"]["#snapshot"], 141);
    EXPECT_EQ(counts["Area 2"]["#uncovered"], 1);
    EXPECT_EQ(counts["Area 1"]["#uncovered"], 2);
    const VoyageEstimate estimate = VoyageEstimator(window, window.Timer(), '.').BeforeStart(1);
    EXPECT_EQ(counts["Area 1"]["#snapshot"] + counts["Area 2"]["#snapshot"], estimate.views);
}

TEST_F(PreviewTest, ManySnapshotsShowAsOneCoveredRectanglePerArea) {
    window.SetEditText(InputEdit::E_VE, "100");
    window.SetEditText(InputEdit::E_VS, "100");
    window.SetEditText(InputEdit::E_VEast, "0.5");
    window.SetEditText(InputEdit::E_VSouth, "0.5");
    const std::vector<Placemark> placemarks = Placemarks(Render());
    ASSERT_GE(placemarks.size(), 2u);
    EXPECT_EQ(placemarks[1].name, "Covered by 40000 snapshots");
    EXPECT_EQ(placemarks[1].style, "#snapshot");
    for (const Placemark& placemark : placemarks) {
        EXPECT_FALSE(placemark.name.starts_with("Snapshot")) << placemark.name;
    }
}

TEST_F(PreviewTest, PointsArePlacemarks) {
    window.SetActivePage(Page::TS_Points);
    window.SetMemoText("30.102, 31.215\nnote <b> & more\n-25.365, 16.2145\n");
    const std::vector<std::string> elements = Elements(Render());
    const std::vector<std::string> tail(elements.end() - 12, elements.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "kml/Document/Folder",
                        "kml/Document/Folder/name = Points",
                        "kml/Document/Folder/Placemark",
                        "kml/Document/Folder/Placemark/name = Line 1",
                        "kml/Document/Folder/Placemark/description = 30.102, 31.215",
                        "kml/Document/Folder/Placemark/Point",
                        "kml/Document/Folder/Placemark/Point/coordinates = "
                        "30.1019992828369,31.2150001525879",
                        "kml/Document/Folder/Placemark",
                        "kml/Document/Folder/Placemark/name = Line 3",
                        "kml/Document/Folder/Placemark/description = -25.365, 16.2145",
                        "kml/Document/Folder/Placemark/Point",
                        "kml/Document/Folder/Placemark/Point/coordinates = "
                        "-25.3649997711182,16.2145004272461",
                    }));
}

TEST_F(PreviewTest, VoyagesThatDoNotEndAreRefused) {
    window.SetEditText(InputEdit::E_VEast, "-0.3");
    VoyageEstimate never;
    never.outcome = VoyageEstimate::Outcome::NeverEnds;
    try {
        Render();
        FAIL() << "rendered";
    } catch (const VoyageError& e) {
        EXPECT_EQ(e.what(), DescribeEstimate(never, false));
    }
    window.SetEditText(InputEdit::E_VEast, "x");
    EXPECT_THROW(Render(), VoyageError);
}

} // namespace
} // namespace tembrel
