// Files to import: their kind, files that cannot be read or are too large,
// zip archives, the limits of 32767 points and 50 areas, and the report of
// bad lines.
#include "ImportTestHelpers.h"

#include "AreasFile.h"
#include "ImportReport.h"
#include "PointsFile.h"
#include "ScratchDirectory.h"
#include "VoyageErrors.h"
#include "ZipArchiveCheck.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace tembrel {
namespace {

using namespace tembrel::test;

std::string Points(std::size_t count) {
    std::string text = "lon,lat\n";
    for (long i = 0; i < static_cast<long>(count); ++i) {
        text += std::to_string(i % 360 - 180) + "," + std::to_string(i % 180 - 90) + "\n";
    }
    return text;
}

std::string Areas(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += std::to_string(i % 90) + ";20;0,6;0,4\n";
    }
    return text;
}

struct KindCase {
    const char* path;
    PointsFile::Kind kind;
};

class Kind : public ::testing::TestWithParam<KindCase> {};

TEST_P(Kind, ByTheNamesEnding) {
    EXPECT_EQ(PointsFile::KindOf(QString::fromUtf8(GetParam().path)), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(Cases, Kind,
                         ::testing::Values(KindCase{"/a/track.gpx", PointsFile::Kind::Gpx},
                                           KindCase{"/a/TRACK.GPX", PointsFile::Kind::Gpx},
                                           KindCase{"/a/places.kml", PointsFile::Kind::Kml},
                                           KindCase{"/a/points.csv", PointsFile::Kind::Csv},
                                           KindCase{"/a/points.txt", PointsFile::Kind::Csv},
                                           KindCase{"/a.kml/points", PointsFile::Kind::Csv}));

TEST(PointsFile, ReadsEachKindFromDisk) {
    const ScratchDirectory folder;
    WriteFile(folder.Path() / "p.csv", "30.102,31.215\n");
    WriteFile(folder.Path() / "p.gpx", "<gpx><wpt lat=\"31.215\" lon=\"30.102\"/></gpx>");
    WriteFile(folder.Path() / "p.kml",
              "<kml><Placemark><Point><coordinates>30.102,31.215</coordinates></Point>"
              "</Placemark></kml>");
    for (const char* name : {"p.csv", "p.gpx", "p.kml"}) {
        const PointsImport result = PointsFile::Read(Path(folder.Path() / name));
        ASSERT_EQ(result.points.size(), 1u) << name;
        EXPECT_EQ(result.points[0], (ImportedPoint{30.102L, 31.215L, 1})) << name;
    }
}

TEST(PointsFile, MissingFileIsRefused) {
    const ScratchDirectory folder;
    const std::string message =
        Refusal([&] { PointsFile::Read(Path(folder.Path() / "none.csv")); });
    EXPECT_TRUE(message.starts_with("The file none.csv cannot be read: ")) << message;
}

TEST(PointsFile, AtMost32767Points) {
    EXPECT_EQ(PointsFile::Parse(QByteArray::fromStdString(Points(32767)), PointsFile::Kind::Csv)
                  .points.size(),
              32767u);
    EXPECT_EQ(Refusal([] {
                  PointsFile::Parse(QByteArray::fromStdString(Points(32768)),
                                    PointsFile::Kind::Csv);
              }),
              "The file holds more than 32767 points; the points list takes at most 32767. "
              "Nothing has been imported.");
}

TEST(PointsFile, BadLinesDoNotCountTowardsTheLimit) {
    const std::string text = Points(32767) + "x,y\nx,y\n";
    const PointsImport result =
        PointsFile::Parse(QByteArray::fromStdString(text), PointsFile::Kind::Csv);
    EXPECT_EQ(result.points.size(), 32767u);
    EXPECT_EQ(result.problems.size(), 2u);
}

TEST(AreasFile, AtMost50Areas) {
    EXPECT_EQ(AreasFile::Parse(QByteArray::fromStdString(Areas(50))).areas.size(), 50u);
    EXPECT_EQ(Refusal([] { AreasFile::Parse(QByteArray::fromStdString(Areas(51))); }),
              "The file holds more than 50 areas; the area grid takes at most 50. Nothing has "
              "been imported.");
}

TEST(AreasFile, TooLargeFileIsRefusedUnread) {
    const ScratchDirectory folder;
    const auto path = folder.Path() / "big.csv";
    WriteFile(path, std::string(static_cast<std::size_t>(AreasFile::MaxFileBytes) + 1, ' '));
    EXPECT_EQ(Refusal([&] { AreasFile::Read(Path(path)); }),
              "The file big.csv is too large to import (more than 4 MB).");
    // Exactly the limit is read (and holds nothing).
    WriteFile(path, std::string(static_cast<std::size_t>(AreasFile::MaxFileBytes), ' '));
    EXPECT_TRUE(AreasFile::Read(Path(path)).areas.empty());
}

TEST(ImportReport, QuestionListsTheBadLines) {
    EXPECT_EQ(
        ImportReport::Question({{4, "latitude 95 is outside -90 to 90"}}, 1, "point", "points"),
        "1 line of the file cannot be read:\n"
        "Line 4: latitude 95 is outside -90 to 90\n"
        "\n"
        "Import the other 1 point?");
    EXPECT_EQ(ImportReport::Question({{2, "a"}, {9, "b"}}, 45, "point", "points"),
              "2 lines of the file cannot be read:\nLine 2: a\nLine 9: b\n\n"
              "Import the other 45 points?");
}

TEST(ImportReport, LongListsAreCutShort) {
    std::vector<ImportProblem> problems;
    for (int line = 1; line <= 17; ++line) {
        problems.push_back({line, "bad"});
    }
    const std::string text = ImportReport::Question(problems, 3, "area", "areas");
    EXPECT_NE(text.find("Line 15: bad\n... and 2 more lines.\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Line 16"), std::string::npos) << text;
    problems.pop_back();
    EXPECT_NE(ImportReport::Question(problems, 3, "area", "areas").find("... and 1 more line.\n"),
              std::string::npos);
}

TEST(ImportReport, NothingFound) {
    EXPECT_EQ(ImportReport::NothingFound({}, "points"),
              "No points found in the file. Nothing has been imported.");
    EXPECT_EQ(ImportReport::NothingFound({{1, "bad"}}, "areas"),
              "1 line of the file cannot be read:\nLine 1: bad\n\n"
              "No areas found in the file. Nothing has been imported.");
    EXPECT_EQ(ImportReport::NothingFound({}, "points", 0, OtherShapes{3, 1, 0}),
              "No points found in the file; it holds 3 paths and 1 polygon. Nothing has been "
              "imported.");
}

// ---------------------------------------------------------------- zip archives

// The start of a zip archive: a local file header and the entry's name.
std::string ZipHead(const std::string& entry) {
    return std::string("PK\x03\x04\x14\x00\x00\x00\x08\x00", 10) + std::string(16, '\x01') +
           static_cast<char>(entry.size()) + std::string(1, '\0') + std::string(2, '\0') + entry +
           std::string(200, '\xC3');
}

const std::string KmzForPoints =
    "The file places.kmz is a KMZ file, a zipped KML: Import points... reads KML as it is, not "
    "zipped. Save the places as KML in Google Earth (Save Place As..., type KML), or unzip the "
    "file and import the doc.kml in it. Nothing has been imported.";
const std::string KmzForAreas =
    "The file areas.KMZ is a KMZ file, a zipped KML: Import areas... reads CSV text, one area a "
    "line (latitude, longitude, width and height in km). Nothing has been imported.";
std::string NotText(const std::string& name) {
    return "The file " + name +
           " is a zip archive, not text (a spreadsheet saved as .xlsx or .ods is one): save it "
           "as CSV and import that. Nothing has been imported.";
}

struct ZipCase {
    const char* name;
    bool areas; // Import areas..., else Import points...
    std::string content;
    std::string refusal; // empty: read as usual
};

void PrintTo(const ZipCase& c, std::ostream* out) {
    *out << c.name;
}

class ZipArchive : public ::testing::TestWithParam<ZipCase> {};

TEST_P(ZipArchive, IsRefusedForWhatItIs) {
    const ZipCase& c = GetParam();
    const ScratchDirectory folder;
    WriteFile(folder.Path() / c.name, c.content);
    const std::string refusal = Refusal([&] {
        if (c.areas) {
            AreasFile::Read(Path(folder.Path() / c.name));
        } else {
            PointsFile::Read(Path(folder.Path() / c.name));
        }
    });
    EXPECT_EQ(refusal, c.refusal.empty() ? "(not refused)" : c.refusal);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZipArchive,
    ::testing::Values(
        ZipCase{"places.kmz", false, ZipHead("doc.kml"), KmzForPoints},
        ZipCase{"areas.KMZ", true, ZipHead("doc.kml"), KmzForAreas},
        // Read as CSV by its name, or as GPX or KML, a zip is none of them.
        ZipCase{"points.csv", false, ZipHead("[Content_Types].xml"), NotText("points.csv")},
        ZipCase{"points.kml", false, ZipHead("doc.kml"), NotText("points.kml")},
        ZipCase{"points.gpx", false, ZipHead("a.gpx"), NotText("points.gpx")},
        ZipCase{"areas.xlsx", true, ZipHead("[Content_Types].xml"), NotText("areas.xlsx")},
        // Only the first four bytes tell: text that starts like one is read.
        ZipCase{"pk.csv", false, "PK\x03,1\n30.102,31.215\n", ""},
        ZipCase{"pk.kmz", false, "PK", ""}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), '.', '_');
        return name;
    });

TEST(ZipArchiveCheck, TheSignatureCutAnywhereIsFound) {
    const std::string head = ZipHead("doc.kml");
    for (std::size_t cut = 0; cut <= 5; ++cut) {
        ZipArchiveCheck check("zip");
        EXPECT_EQ(Refusal([&] {
                      check.Scan(std::string_view(head).substr(0, cut));
                      for (std::size_t at = cut; at < head.size(); ++at) {
                          check.Scan(std::string_view(head).substr(at, 1));
                      }
                  }),
                  "zip")
            << cut;
    }
}

} // namespace
} // namespace tembrel
