// Imports read as streams: any chunking gives the same result, the reading
// stops at the first limit it meets (points, areas, bytes, line length,
// attributes or depth of an XML element), the reasons kept are bounded, and
// a cancelled read stops.
#include "ImportTestHelpers.h"

#include "AreasFile.h"
#include "CsvAreasReader.h"
#include "CsvPointsReader.h"
#include "GpxPointsReader.h"
#include "ImportReport.h"
#include "KmlPointsReader.h"
#include "PointsFile.h"
#include "ScratchDirectory.h"
#include "VoyageErrors.h"
#include "XmlGuard.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <atomic>
#include <fstream>
#include <string>
#include <vector>

namespace tembrel {
namespace {

using namespace tembrel::test;

std::string PointLines(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += std::to_string(i % 180) + ".5," + std::to_string(i % 90) + ".25\n";
    }
    return text;
}

// ---------------------------------------------------------------- chunks

template <class Reader> PointsImport FeedInChunks(std::string_view text, std::size_t size) {
    Reader reader;
    for (std::size_t at = 0; at < text.size(); at += size) {
        reader.Feed(text.substr(at, size));
    }
    return reader.Finish();
}

struct ChunkCase {
    const char* name;
    PointsImport (*whole)(std::string_view);
    PointsImport (*chunked)(std::string_view, std::size_t);
    std::string text;
};

void PrintTo(const ChunkCase& c, std::ostream* out) {
    *out << c.name;
}

PointsImport GpxWhole(std::string_view text) {
    return GpxPointsReader::Read(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}
PointsImport KmlWhole(std::string_view text) {
    return KmlPointsReader::Read(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

class Chunked : public ::testing::TestWithParam<ChunkCase> {};

TEST_P(Chunked, EveryChunkSizeReadsAsTheWholeText) {
    const ChunkCase& c = GetParam();
    const PointsImport whole = c.whole(c.text);
    ASSERT_FALSE(whole.points.empty());
    for (const std::size_t size : {1u, 2u, 3u, 7u, 64u}) {
        const PointsImport chunked = c.chunked(c.text, size);
        EXPECT_EQ(chunked.points, whole.points) << size;
        EXPECT_EQ(chunked.problems, whole.problems) << size;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Chunked,
    ::testing::Values(
        // A byte order mark, CR LF, lone CR, blank lines, a header and quotes,
        // each cut at every place by the one-byte chunks.
        ChunkCase{"csv", &CsvPointsReader::Read, &FeedInChunks<CsvPointsReader>,
                  "\xEF\xBB\xBF"
                  "lon;lat\r\n30,102;31,215\r\r\n \t\n\"-25.365\";16.2145\rx;y\n1;2"},
        ChunkCase{"gpx", &GpxWhole, &FeedInChunks<GpxPointsReader>,
                  "<?xml version=\"1.0\"?>\n<gpx><!-- <wpt lat=\"0\" lon=\"0\"/> -->\n"
                  "<wpt lat=\"31.215\" lon=\"30.102\"><name><![CDATA[a<b]]></name></wpt>\n"
                  "<trk><trkseg><trkpt lat=\"x\" lon=\"1\"/><trkpt lat=\"16.2145\" "
                  "lon=\"-25.365\"/></trkseg></trk></gpx>\n"},
        ChunkCase{"kml", &KmlWhole, &FeedInChunks<KmlPointsReader>,
                  "<kml><Document><Placemark><Point>\n<coordinates>\n 30.102,31.215,0 \n"
                  "</coordinates></Point></Placemark><Placemark><Point><coordinates>1,2<b>x</b>"
                  "</coordinates></Point></Placemark><Placemark><Point/></Placemark>"
                  "</Document></kml>"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- limits

struct Read {
    long long furthest = 0; // bytes read when the reading stopped
    std::string refusal;
};

Read ReadPoints(const std::filesystem::path& path) {
    Read read;
    ImportProgress progress;
    progress.report = [&](long long done, long long) { read.furthest = done; };
    read.refusal = Refusal([&] { PointsFile::Read(Path(path), progress); });
    return read;
}

TEST(FirstLimit, PointsStopTheReadingAtThePointBeyondTheLimit) {
    // GIVEN 32768 points followed by 8 MB more, WHEN the file is imported,
    // THEN it is refused without reading much past the 32768th point.
    const ScratchDirectory folder;
    const std::string points = PointLines(32768);
    for (const char* name : {"p.csv", "p.gpx", "p.kml"}) {
        std::string text;
        if (std::string_view(name) == "p.csv") {
            text = points + std::string(8u << 20, '\n');
        } else if (std::string_view(name) == "p.gpx") {
            text = "<gpx>";
            for (int i = 0; i < 32768; ++i) {
                text += "<wpt lat=\"1\" lon=\"2\"/>\n";
            }
            text += std::string(8u << 20, ' ') + "</gpx>";
        } else {
            text = "<kml>";
            for (int i = 0; i < 32768; ++i) {
                text += "<Placemark><Point><coordinates>2,1</coordinates></Point></Placemark>\n";
            }
            text += std::string(8u << 20, ' ') + "</kml>";
        }
        WriteFile(folder.Path() / name, text);
        const Read read = ReadPoints(folder.Path() / name);
        EXPECT_EQ(read.refusal, "The file holds more than 32767 points; the points list takes at "
                                "most 32767. Nothing has been imported.")
            << name;
        const long long headBytes = static_cast<long long>(text.size()) - (8ll << 20);
        EXPECT_LE(read.furthest, headBytes + ImportFileData::ChunkBytes) << name;
    }
}

TEST(FirstLimit, AreasStopAtTheFiftyFirst) {
    const ScratchDirectory folder;
    std::string text;
    for (int i = 0; i < 51; ++i) {
        text += "10;20;0,6;0,4\n";
    }
    WriteFile(folder.Path() / "a.csv", text + std::string(3u << 20, '\n'));
    long long furthest = 0;
    ImportProgress progress;
    progress.report = [&](long long done, long long) { furthest = done; };
    EXPECT_EQ(Refusal([&] { AreasFile::Read(Path(folder.Path() / "a.csv"), progress); }),
              "The file holds more than 50 areas; the area grid takes at most 50. Nothing has "
              "been imported.");
    EXPECT_EQ(furthest, ImportFileData::ChunkBytes);
}

TEST(FirstLimit, LongLineIsLeftOutUnheld) {
    const std::string text = "1,2\n" + std::string(5u << 20, '7') + "\r\n3,4\n" +
                             std::string(CsvLines::MaxLineBytes, '8') + "\n";
    const PointsImport result = CsvPointsReader::Read(text);
    EXPECT_EQ(result.points, (std::vector<ImportedPoint>{{1, 2, 1}, {3, 4, 3}}));
    EXPECT_EQ(result.problems,
              (std::vector<ImportProblem>{{2, "the line is longer than 65536 characters"},
                                          {4, "expected a longitude and a latitude"}}));
}

TEST(FirstLimit, ReasonsAreKeptUpToAThousandAndCounted) {
    std::string text = "1,2\n";
    for (int i = 0; i < 5000; ++i) {
        text += "x,y\n";
    }
    const PointsImport result = CsvPointsReader::Read(text);
    EXPECT_EQ(result.problems.size(), MaxKeptProblems);
    EXPECT_EQ(result.problemsLeftOut, 5000 - MaxKeptProblems);
    const std::string question = ImportReport::Question(result.problems, result.points.size(),
                                                        "point", "points", result.problemsLeftOut);
    EXPECT_TRUE(question.starts_with("5000 lines of the file cannot be read:\nLine 2: "))
        << question;
    EXPECT_NE(question.find("... and 4985 more lines.\n"), std::string::npos) << question;
}

// The same 20000 points in each kind of file, many chunks long.
std::string PointsFileText(const std::string& name) {
    if (name == "p.csv") {
        return PointLines(20000);
    }
    std::string text = name == "p.gpx" ? "<gpx>\n" : "<kml><Document>\n";
    for (int i = 0; i < 20000; ++i) {
        const std::string lat = std::to_string(i % 90) + ".25";
        const std::string lon = std::to_string(i % 180) + ".5";
        text += name == "p.gpx" ? "<wpt lat=\"" + lat + "\" lon=\"" + lon + "\"/>\n"
                                : "<Placemark><Point><coordinates>" + lon + "," + lat +
                                      "</coordinates></Point></Placemark>\n";
    }
    return text + (name == "p.gpx" ? "</gpx>\n" : "</Document></kml>\n");
}

class Cancelled : public ::testing::TestWithParam<std::string> {};

TEST_P(Cancelled, ReadStopsAtTheNextChunkWithoutAFault) {
    // An XML document cut short is not well-formed: that is no fault of a
    // file the user stopped reading.
    const ScratchDirectory folder;
    const std::filesystem::path path = folder.Path() / GetParam();
    WriteFile(path, PointsFileText(GetParam()));
    ASSERT_GT(std::filesystem::file_size(path), 2u * ImportFileData::ChunkBytes);
    std::atomic<bool> cancel{false};
    int chunks = 0;
    ImportProgress progress;
    progress.cancel = &cancel;
    progress.report = [&](long long, long long) {
        ++chunks;
        cancel = true; // the user presses Cancel while the first chunk is read
    };
    PointsImport result;
    EXPECT_EQ(Refusal([&] { result = PointsFile::Read(Path(path), progress); }), "(not refused)");
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(result.points.empty());
    EXPECT_EQ(chunks, 1);
    cancel = false;
    const PointsImport uncancelled = PointsFile::Read(Path(path), ImportProgress{{}, &cancel});
    EXPECT_FALSE(uncancelled.cancelled);
    EXPECT_EQ(uncancelled.points.size(), 20000u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, Cancelled, ::testing::Values("p.csv", "p.gpx", "p.kml"),
                         [](const auto& info) { return info.param.substr(2); });

#ifndef _WIN32 // no named pipes in the file system there
TEST(FirstLimit, PipesAndFoldersAreRefusedUnopened) {
    // Opening a pipe with no writer would wait for ever.
    const ScratchDirectory folder;
    const std::filesystem::path pipe = folder.Path() / "points.csv";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(Refusal([&] { PointsFile::Read(Path(pipe)); }),
              "The file points.csv cannot be read: it is not a regular file.");
    std::filesystem::create_directory(folder.Path() / "areas.csv");
    EXPECT_EQ(Refusal([&] { AreasFile::Read(Path(folder.Path() / "areas.csv")); }),
              "The file areas.csv cannot be read: it is not a regular file.");
}
#endif

TEST(FirstLimit, LongTrackBesideAPointIsPassedOver) {
    // A line string of 100000 points (3 MB of coordinates) is no point of its
    // own, and no reason to refuse the file.
    std::string track;
    for (int i = 0; i < 100000; ++i) {
        track += "12.3456789,45.6789012,0 ";
    }
    const std::string document = "<kml><Placemark><LineString><coordinates>" + track +
                                 "</coordinates></LineString></Placemark><Placemark><Point>"
                                 "<coordinates>2,1</coordinates></Point></Placemark></kml>";
    const PointsImport result = KmlPointsReader::Read(QByteArray::fromStdString(document));
    EXPECT_EQ(result.points, (std::vector<ImportedPoint>{{2, 1, 1}}));
    EXPECT_TRUE(result.problems.empty());
}

// ---------------------------------------------------------------- XML guard

struct GuardCase {
    const char* name;
    std::string document;
    std::string refusal; // empty: accepted
};

void PrintTo(const GuardCase& c, std::ostream* out) {
    *out << c.name;
}

std::string Attributes(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    }
    return text;
}

std::string Nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += "<e>";
    }
    for (int i = 0; i < depth; ++i) {
        text += "</e>";
    }
    return text;
}

const std::string TooWide =
    "The file holds an element with more than 256 attributes (line 2). Nothing has been imported.";
std::string TooLong(int line) {
    return "The file holds a text, tag or comment longer than 4 MB (line " + std::to_string(line) +
           "). Nothing has been imported.";
}
std::string Doctype(int line) {
    return "The file holds a DOCTYPE declaration (line " + std::to_string(line) +
           "): GPX and KML files have none, and its entities could make the file expand without "
           "limit. Nothing has been imported.";
}
const std::string TooDeep =
    "The file holds elements nested more than 256 deep (line 1). Nothing has been imported.";

class Guard : public ::testing::TestWithParam<GuardCase> {};

TEST_P(Guard, RefusesAWideOrDeepElementBeforeTheReaderSeesIt) {
    const GuardCase& c = GetParam();
    const std::string refusal = Refusal([&] {
        XmlGuard guard;
        guard.Scan(c.document);
    });
    EXPECT_EQ(refusal, c.refusal.empty() ? "(not refused)" : c.refusal);
    // Cut at every place, a small document is refused alike.
    if (c.document.size() < 100000) {
        EXPECT_EQ(Refusal([&] {
                      XmlGuard guard;
                      for (const char byte : c.document) {
                          guard.Scan(std::string_view(&byte, 1));
                      }
                  }),
                  refusal);
    }
    // The readers refuse the same documents with the same words.
    if (!c.refusal.empty()) {
        EXPECT_EQ(Refusal([&] { GpxPointsReader::Read(QByteArray::fromStdString(c.document)); }),
                  c.refusal);
        EXPECT_EQ(Refusal([&] { KmlPointsReader::Read(QByteArray::fromStdString(c.document)); }),
                  c.refusal);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Guard,
    ::testing::Values(
        GuardCase{"attributes_256", "<gpx>\n<wpt" + Attributes(256) + "/></gpx>", ""},
        GuardCase{"attributes_257", "<gpx>\n<wpt" + Attributes(257) + "/></gpx>", TooWide},
        GuardCase{"attributes_200000", "<gpx>\n<wpt" + Attributes(200000) + "/></gpx>", TooWide},
        // '=' in values, comments, CDATA and instructions is no attribute.
        GuardCase{"equals_elsewhere",
                  "<?xml version=\"1.0\"?><g a=\"" + std::string(300, '=') +
                      "\" b='>=" + std::string(300, '=') + "'><!--" + std::string(300, '=') +
                      "--><![CDATA[" + std::string(300, '=') + "]]><?p " + std::string(300, '=') +
                      "?>" + std::string(300, '=') + "</g>",
                  ""},
        // The reader holds a whole text or tag before it reports it.
        // A text starts where the tag before it ends.
        GuardCase{"text_over_4MB", "<gpx>\n" + std::string(4200000, 'a') + "</gpx>", TooLong(1)},
        GuardCase{"value_over_4MB", "<gpx>\n<wpt a=\"" + std::string(4200000, 'a') + "\"/></gpx>",
                  TooLong(2)},
        GuardCase{"comment_over_4MB", "<gpx>\n<!--" + std::string(4200000, 'a') + "--></gpx>",
                  TooLong(2)},
        GuardCase{"texts_of_4MB_between_tags",
                  "<gpx>\n" + std::string(4000000, 'a') + "<b/>" + std::string(4000000, 'a') +
                      "<!--" + std::string(4000000, 'a') + "-->" + std::string(4000000, 'a') +
                      "</gpx>",
                  ""},
        GuardCase{"depth_256", Nested(256), ""}, GuardCase{"depth_257", Nested(257), TooDeep},
        // Its entities would be expanded in full at every reference: 64 KB
        // of references to one of 4000 characters were 320 MB of text.
        GuardCase{"doctype_with_entities",
                  "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [<!ENTITY e \"" + std::string(4000, 'x') +
                      "\">]>\n<gpx><wpt lat=\"1\" lon=\"2\"><name>" +
                      [] {
                          std::string s;
                          for (int i = 0; i < 20000; ++i) {
                              s += "&e;";
                          }
                          return s;
                      }() +
                      "</name></wpt></gpx>",
                  Doctype(2)},
        GuardCase{"doctype_without_subset", "<!DOCTYPE kml SYSTEM \"kml.dtd\"><kml/>", Doctype(1)},
        GuardCase{"doctype_in_comment_and_cdata",
                  "<g><!-- <!DOCTYPE g> --><![CDATA[<!DOCTYPE g>]]>&lt;!DOCTYPE g&gt;</g>", ""},
        // Empty elements and closed ones do not add up.
        GuardCase{"many_siblings",
                  "<g>" + std::string(3000, ' ') +
                      [] {
                          std::string s;
                          for (int i = 0; i < 1000; ++i) {
                              s += "<a/><b></b>";
                          }
                          return s;
                      }() +
                      "</g>",
                  ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tembrel
