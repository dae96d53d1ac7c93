// The view file through CreateFile and MoveFileEx: the same 13 lines and bytes
// as on Linux, and the same messages for the same conditions.
#include "ViewFileOutput.h"
#include "ViewFileWriter.h"
#include "VoyageErrors.h"

#include "ScratchDirectory.h"

#include <gtest/gtest.h>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>

namespace tembrel {
namespace {

namespace fs = std::filesystem;
using test::ScratchDirectory;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
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

TEST(ViewFileOutputWin, WritesTheWorkedExampleByteForByteOverALongerFile) {
    ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    std::ofstream(writer.Path(), std::ios::binary) << std::string(5000, 'x');
    writer.WriteViewFile(State(48.86f, 2.2877f, 250), '.');
    EXPECT_EQ(ReadBytes(writer.Path()), WorkedExample);

    std::string comma = WorkedExample;
    comma.replace(comma.find("2.28769993782043"), 16, "2,28769993782043");
    comma.replace(comma.find("48.8600006103516"), 16, "48,8600006103516");
    writer.WriteViewFile(State(48.86f, 2.2877f, 250), ',');
    EXPECT_EQ(ReadBytes(writer.Path()), comma);
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"TembrelData.KML"});
}

TEST(ViewFileOutputWin, AReaderHoldingTheFileStillGetsTheNewDocument) {
    ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    writer.WriteViewFile(State(1, 2, 3), '.');
    // Open without delete sharing, so the move over it is refused.
    HANDLE reader = CreateFileW(writer.Path().wstring().c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    writer.WriteViewFile(State(48.86f, 2.2877f, 250), '.');
    CloseHandle(reader);
    EXPECT_EQ(ReadBytes(writer.Path()), WorkedExample);
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"TembrelData.KML"});
}

struct FaultCase {
    std::string name;
    // Prepares the obstacle and returns the folder to write into.
    std::function<fs::path(const fs::path& scratch)> prepare;
    int code;
    std::string message;
};

class ViewFileOutputWinFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ViewFileOutputWinFaults, GiveTheSameMessagesAsOnLinux) {
    ScratchDirectory dir;
    const ViewFileWriter writer(GetParam().prepare(dir.Path()));
    for (int i = 0; i < 2; ++i) {
        try {
            writer.WriteViewFile(State(1, 2, 3), '.');
            FAIL() << "the write succeeded";
        } catch (const InOutError& e) {
            EXPECT_EQ(e.code(), GetParam().code);
            EXPECT_EQ(e.what(), GetParam().message);
        }
    }
    // Nothing is left beside the obstacle.
    const std::set<std::string> names = Names(dir.Path());
    for (const std::string& name : names) {
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    }
    // A read-only file would outlive the scratch folder.
    SetFileAttributesW(writer.Path().wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ViewFileOutputWinFaults,
    ::testing::Values(FaultCase{"MissingFolder", [](const fs::path& s) { return s / "gone"; }, 3,
                                "Invalid filename"},
                      FaultCase{"FolderAtTheName",
                                [](const fs::path& s) {
                                    fs::create_directory(s / "TembrelData.KML");
                                    return s;
                                },
                                5, "File access denied"},
                      FaultCase{"ReadOnlyFile",
                                [](const fs::path& s) {
                                    std::ofstream(s / "TembrelData.KML") << "old";
                                    SetFileAttributesW((s / "TembrelData.KML").wstring().c_str(),
                                                       FILE_ATTRIBUTE_READONLY);
                                    return s;
                                },
                                5, "File access denied"}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

} // namespace
} // namespace tembrel
