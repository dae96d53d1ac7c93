#include "ViewFileWriter.h"
#include "ViewFileOutput.h"
#include "VoyageErrors.h"

#include "ScratchDirectory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace tembrel {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDirectory;

// Changes the current directory for one test and restores it.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const fs::path& directory) : saved_(fs::current_path()) {
        fs::current_path(directory);
    }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;
    ~CurrentDirectory() { fs::current_path(saved_); }

private:
    fs::path saved_;
};

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::size_t OpenDescriptorCount() {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

VoyageState State(float lat, float lon, std::int32_t range) {
    VoyageState state;
    state.CurLat = lat;
    state.CurLon = lon;
    state.Range = range;
    return state;
}

// The worked example: a point at longitude 2.2877, latitude 48.86, 250 m.
const std::string WorkedExample = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                  "<kml xmlns=\"http://earth.google.com/kml/2.0\">\r\n"
                                  "<Placemark>\r\n"
                                  "<name>Tembrel Starting Point</name>\r\n"
                                  "<LookAt>\r\n"
                                  "<longitude>2.28769993782043</longitude>\r\n"
                                  "<latitude>48.8600006103516</latitude>\r\n"
                                  "<range>250</range>\r\n"
                                  "<tilt>0.0</tilt>\r\n"
                                  "<heading>0.0</heading>\r\n"
                                  "</LookAt>\r\n"
                                  "</Placemark>\r\n"
                                  "</kml>\r\n";

TEST(ViewFileWriter, RendersTheWorkedExampleByteForByte) {
    EXPECT_EQ(ViewFileWriter::Render(State(48.86f, 2.2877f, 250), '.'), WorkedExample);
}

TEST(ViewFileWriter, CommaSeparatorChangesOnlyTheTwoCoordinates) {
    std::string expected = WorkedExample;
    expected.replace(expected.find("2.28769993782043"), 16, "2,28769993782043");
    expected.replace(expected.find("48.8600006103516"), 16, "48,8600006103516");
    EXPECT_EQ(ViewFileWriter::Render(State(48.86f, 2.2877f, 250), ','), expected);
}

struct LineCase {
    std::string name;
    VoyageState state;
    std::string line;
};

class ViewFileLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ViewFileLine, IsWrittenWithTheNumberRule) {
    const std::string document = ViewFileWriter::Render(GetParam().state, '.');
    EXPECT_NE(document.find("\r\n" + GetParam().line + "\r\n"), std::string::npos) << document;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ViewFileLine,
    ::testing::Values(LineCase{"TinyLatitude", State(0.0001f, 1, 1),
                               "<latitude>9.99999974737875E-5</latitude>"},
                      LineCase{"ZeroLatitude", State(0, 1, 1), "<latitude>0</latitude>"},
                      LineCase{"TinyLongitude", State(1, -0.00001f, 1),
                               "<longitude>-9.99999974737875E-6</longitude>"},
                      LineCase{"NegativeRange", State(1, 1, -5), "<range>-5</range>"},
                      LineCase{"ZeroRange", State(1, 1, 0), "<range>0</range>"},
                      LineCase{"LargeRange", State(1, 1, 1000000), "<range>1000000</range>"},
                      LineCase{"WholeLongitude", State(1, 30, 1), "<longitude>30</longitude>"}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return info.param.name; });

TEST(ViewFileWriter, RendersThirteenLinesEachEndedByCrLf) {
    const std::string document = ViewFileWriter::Render(State(-33.9f, 151.2f, 40000), ',');
    std::size_t lines = 0;
    for (std::size_t i = 0; i < document.size(); ++i) {
        if (document[i] == '\n') {
            ++lines;
            ASSERT_GT(i, 0u);
            EXPECT_EQ(document[i - 1], '\r');
        }
    }
    EXPECT_EQ(lines, 13u);
    EXPECT_TRUE(document.ends_with("</kml>\r\n"));
}

TEST(ViewFileWriter, WritesTheDocumentAsItsBytes) {
    ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    writer.WriteViewFile(State(48.86f, 2.2877f, 250), '.');
    EXPECT_EQ(ReadBytes(dir.Path() / "TembrelData.KML"), WorkedExample);
}

TEST(ViewFileWriter, TwoWritesInARowGiveIdenticalFiles) {
    ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    const VoyageState state = State(48.859111785888671875f, 2.2892415523529052734375f, 250);
    writer.WriteViewFile(state, '.');
    const std::string first = ReadBytes(writer.Path());
    writer.WriteViewFile(state, '.');
    EXPECT_EQ(ReadBytes(writer.Path()), first);
    EXPECT_EQ(first, ViewFileWriter::Render(state, '.'));
}

TEST(ViewFileWriter, ReplacesALongerFileWhole) {
    ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    std::ofstream(writer.Path(), std::ios::binary) << std::string(10000, 'x');
    writer.WriteViewFile(State(48.86f, 2.2877f, 250), '.');
    EXPECT_EQ(ReadBytes(writer.Path()), WorkedExample);
}

TEST(ViewFileWriter, LandsInTheCurrentDirectoryOfEachWrite) {
    ScratchDirectory first;
    ScratchDirectory second;
    const ViewFileWriter writer;
    EXPECT_EQ(writer.Path(), fs::path("TembrelData.KML"));
    {
        CurrentDirectory cd(first.Path());
        writer.WriteViewFile(State(1, 2, 3), '.');
    }
    {
        CurrentDirectory cd(second.Path());
        writer.WriteViewFile(State(4, 5, 6), '.');
    }
    EXPECT_EQ(ReadBytes(first.Path() / "TembrelData.KML"),
              ViewFileWriter::Render(State(1, 2, 3), '.'));
    EXPECT_EQ(ReadBytes(second.Path() / "TembrelData.KML"),
              ViewFileWriter::Render(State(4, 5, 6), '.'));
}

void ExpectInOutError(const ViewFileWriter& writer, int code, const std::string& message) {
    try {
        writer.WriteViewFile(State(48.86f, 2.2877f, 250), '.');
        FAIL() << "write succeeded";
    } catch (const InOutError& e) {
        EXPECT_EQ(e.code(), code);
        EXPECT_EQ(std::string(e.what()), message);
    }
}

TEST(ViewFileWriter, DirectoryInTheFilesPlaceIsAccessDenied) {
    // Refused for root too, unlike a read-only mode.
    ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    fs::create_directory(writer.Path());
    ExpectInOutError(writer, 5, "File access denied");
    ExpectInOutError(writer, 5, "File access denied");

    // Nothing is held: once the obstacle is gone the next write works.
    fs::remove(writer.Path());
    writer.WriteViewFile(State(48.86f, 2.2877f, 250), '.');
    EXPECT_EQ(ReadBytes(writer.Path()), WorkedExample);
}

TEST(ViewFileWriter, ReadOnlyFileIsAccessDenied) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "a read-only mode does not stop root";
    }
    ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    writer.WriteViewFile(State(1, 2, 3), '.');
    fs::permissions(writer.Path(), fs::perms::owner_read);
    ExpectInOutError(writer, 5, "File access denied");
}

TEST(ViewFileWriter, MissingDirectoryIsAnInvalidFilename) {
    ScratchDirectory dir;
    ExpectInOutError(ViewFileWriter(dir.Path() / "gone"), 3, "Invalid filename");
}

TEST(ViewFileWriter, FailedWritesReleaseTheFile) {
    // /dev/full opens fine and refuses every write with "disk full".
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    const std::size_t before = OpenDescriptorCount();
    for (int i = 0; i < 3; ++i) {
        try {
            ViewFileOutput::Replace("/dev/full", WorkedExample);
            FAIL() << "write to /dev/full succeeded";
        } catch (const InOutError& e) {
            EXPECT_EQ(e.code(), 112);
            EXPECT_STREQ(e.what(), "I/O error 112");
        }
    }
    EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST(ViewFileWriter, FailedOpensLeaveNothingOpen) {
    ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    fs::create_directory(writer.Path());
    const std::size_t before = OpenDescriptorCount();
    ExpectInOutError(writer, 5, "File access denied");
    EXPECT_EQ(OpenDescriptorCount(), before);
}

struct ErrnoCase {
    int errnoValue;
    int code;
    std::string message;
};

class SystemErrorCodes : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(SystemErrorCodes, GiveTheMessageOfTheSameConditionOnWindows) {
    const int code = ViewFileOutput::SystemErrorCode(GetParam().errnoValue);
    EXPECT_EQ(code, GetParam().code);
    EXPECT_EQ(InOutError(code).what(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SystemErrorCodes,
    ::testing::Values(
        ErrnoCase{EACCES, 5, "File access denied"}, ErrnoCase{EPERM, 5, "File access denied"},
        ErrnoCase{EROFS, 5, "File access denied"}, ErrnoCase{EISDIR, 5, "File access denied"},
        ErrnoCase{ETXTBSY, 5, "File access denied"}, ErrnoCase{ENOENT, 3, "Invalid filename"},
        ErrnoCase{ENOTDIR, 3, "Invalid filename"}, ErrnoCase{EMFILE, 4, "Too many open files"},
        ErrnoCase{ENFILE, 4, "Too many open files"}, ErrnoCase{ENOSPC, 112, "I/O error 112"},
        ErrnoCase{EDQUOT, 112, "I/O error 112"}, ErrnoCase{ENAMETOOLONG, 206, "I/O error 206"},
        ErrnoCase{EIO, 1117, "I/O error 1117"}, ErrnoCase{EAGAIN, 32, "I/O error 32"},
        ErrnoCase{0, 31, "I/O error 31"}));

struct MessageCase {
    int code;
    std::string message;
};

class InOutErrorMessages : public ::testing::TestWithParam<MessageCase> {};

TEST_P(InOutErrorMessages, AreChosenByCode) {
    EXPECT_EQ(InOutError::MessageFor(GetParam().code), GetParam().message);
    const InOutError error(GetParam().code);
    EXPECT_EQ(error.code(), GetParam().code);
    EXPECT_EQ(error.what(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Table, InOutErrorMessages,
    ::testing::Values(MessageCase{2, "File not found"}, MessageCase{3, "Invalid filename"},
                      MessageCase{4, "Too many open files"}, MessageCase{5, "File access denied"},
                      MessageCase{100, "Read beyond end of file"}, MessageCase{101, "Disk full"},
                      MessageCase{106, "Invalid numeric input"}, MessageCase{32, "I/O error 32"},
                      MessageCase{112, "I/O error 112"}, MessageCase{1, "I/O error 1"},
                      MessageCase{0, "I/O error 0"}, MessageCase{-1, "I/O error -1"}));

} // namespace
} // namespace tembrel
