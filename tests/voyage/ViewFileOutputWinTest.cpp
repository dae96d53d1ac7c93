// The view file through CreateFile and MoveFileEx: the same 13 lines and bytes
// as on Linux, and the same messages for the same conditions.
#include "ViewFileOutput.h"
#include "ViewFileWriter.h"
#include "VoyageErrors.h"

#include "ScratchDirectory.h"
#include "ViewFileExample.h"

#include <gtest/gtest.h>

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
using namespace test;

TEST(ViewFileOutputWin, WritesTheWorkedExampleByteForByteOverALongerFile) {
    ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    std::ofstream(writer.Path(), std::ios::binary) << std::string(5000, 'x');
    writer.WriteViewFile(State(48.86f, 2.2877f, 250), '.');
    EXPECT_EQ(ReadBytes(writer.Path()), WorkedExample);

    writer.WriteViewFile(State(48.86f, 2.2877f, 250), ',');
    EXPECT_EQ(ReadBytes(writer.Path()), WorkedExampleWithComma());
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
