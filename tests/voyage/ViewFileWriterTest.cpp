#include "ViewFileWriter.h"
#include "ViewFileOutput.h"
#include "VoyageErrors.h"

#include "FileSizeLimit.h"
#include "ScratchDirectory.h"
#include "ViewFileExample.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tembrel {
namespace {

namespace fs = std::filesystem;
using namespace test;

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

std::size_t OpenDescriptorCount() {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

TEST(ViewFileWriter, RendersTheWorkedExampleByteForByte) {
    EXPECT_EQ(ViewFileWriter::Render(State(48.86f, 2.2877f, 250), '.'), WorkedExample);
}

TEST(ViewFileWriter, CommaSeparatorChangesOnlyTheTwoCoordinates) {
    EXPECT_EQ(ViewFileWriter::Render(State(48.86f, 2.2877f, 250), ','), WorkedExampleWithComma());
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

TEST(ViewFileWriter, ANewFileTakesTheUmaskAndAnOldOneKeepsItsMode) {
    ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    const mode_t mask = ::umask(022);
    writer.WriteViewFile(State(1, 2, 3), '.');
    ::umask(mask);
    EXPECT_EQ(fs::status(writer.Path()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
    fs::permissions(writer.Path(), fs::perms::owner_read | fs::perms::owner_write);
    writer.WriteViewFile(State(4, 5, 6), '.');
    EXPECT_EQ(fs::status(writer.Path()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
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

// Runs check in a child process without root's right to write any file, and
// returns its exit status.
int ExitStatusAsUnprivileged(const std::function<int()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(90);
        }
        int status = 91;
        try {
            status = check();
        } catch (...) {
        }
        ::_exit(status);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ViewFileWriter, ReadOnlyFileIsAccessDeniedAndKept) {
    // The folder may be written, so only the file's own mode refuses.
    ScratchDirectory dir;
    fs::permissions(dir.Path(), fs::perms::all);
    const ViewFileWriter writer(dir.Path());
    writer.WriteViewFile(State(1, 2, 3), '.');
    fs::permissions(writer.Path(),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const int status = ExitStatusAsUnprivileged([&] {
        try {
            writer.WriteViewFile(State(48.86f, 2.2877f, 250), '.');
        } catch (const InOutError& e) {
            return e.code() == 5 && std::string(e.what()) == "File access denied" ? 0 : 1;
        }
        return 2;
    });
    EXPECT_EQ(status, 0) << "1: another error, 2: written";
    EXPECT_EQ(ReadBytes(writer.Path()), ViewFileWriter::Render(State(1, 2, 3), '.'));
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"TembrelData.KML"});
}

TEST(ViewFileWriter, FolderClosedToNewFilesStillTakesTheWriteInPlace) {
    // Whoever may write the file but not the folder keeps the voyage going.
    ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    writer.WriteViewFile(State(1, 2, 3), '.');
    fs::permissions(writer.Path(), fs::perms::all & ~fs::perms::owner_exec &
                                       ~fs::perms::group_exec & ~fs::perms::others_exec);
    fs::permissions(dir.Path(), fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
    const int status = ExitStatusAsUnprivileged([&] {
        if (::access(dir.Path().c_str(), W_OK) == 0) {
            return 3; // the folder is open to this user after all
        }
        writer.WriteViewFile(State(48.86f, 2.2877f, 250), '.');
        return 0;
    });
    EXPECT_EQ(status, 0) << "91: the write failed, 3: no user to test with";
    EXPECT_EQ(ReadBytes(writer.Path()), WorkedExample);
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"TembrelData.KML"});
}

TEST(ViewFileWriter, MissingDirectoryIsAnInvalidFilename) {
    ScratchDirectory dir;
    ExpectInOutError(ViewFileWriter(dir.Path() / "gone"), 3, "Invalid filename");
}

TEST(ViewFileWriter, FailedWritesKeepTheOldViewAndLeaveNothingBehind) {
    ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    writer.WriteViewFile(State(1, 2, 3), '.');
    const std::size_t before = OpenDescriptorCount();
    for (int i = 0; i < 3; ++i) {
        // The first write call takes 64 bytes, the continuation is refused.
        const FileSizeLimit limit(64);
        try {
            writer.WriteViewFile(State(48.86f, 2.2877f, 250), '.');
            ADD_FAILURE() << "write beyond the size limit succeeded";
        } catch (const InOutError& e) {
            EXPECT_EQ(e.code(), 223);
            EXPECT_STREQ(e.what(), "I/O error 223");
        }
    }
    EXPECT_EQ(OpenDescriptorCount(), before);
    EXPECT_EQ(ReadBytes(writer.Path()), ViewFileWriter::Render(State(1, 2, 3), '.'));
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"TembrelData.KML"});
}

TEST(ViewFileWriter, AReaderSeesTheOldViewOrTheNewNeverAPart) {
    // A reader polls the file while it is replaced over and over; every read
    // must give one whole document.
    ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    const VoyageState first = State(48.86f, 2.2877f, 250);
    const VoyageState second = State(-33.9f, 151.2f, 40000);
    const std::string firstText = ViewFileWriter::Render(first, '.');
    const std::string secondText = ViewFileWriter::Render(second, '.');
    writer.WriteViewFile(first, '.');

    std::atomic<bool> writing{true};
    long reads = 0;
    long torn = 0;
    std::string example;
    std::thread reader([&] {
        while (writing.load()) {
            const std::string seen = ReadBytes(writer.Path());
            ++reads;
            if (seen != firstText && seen != secondText) {
                if (torn++ == 0) {
                    example = seen;
                }
            }
        }
    });
    for (int i = 0; i < 300; ++i) {
        writer.WriteViewFile(i % 2 == 0 ? second : first, '.');
    }
    writing = false;
    reader.join();
    EXPECT_EQ(torn, 0) << "of " << reads << " reads, e.g. '" << example << "'";
    EXPECT_GT(reads, 0);
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"TembrelData.KML"});
}

// What may stand at the file's name when a write comes: each is replaced by
// the view file, and nothing it points to is touched.
struct ObstacleCase {
    std::string name;
    std::function<void(const fs::path& view, const fs::path& elsewhere)> place;
    bool elsewhereExists;
};

void PrintTo(const ObstacleCase& c, std::ostream* out) {
    *out << c.name;
}

class ObstacleAtTheName : public ::testing::TestWithParam<ObstacleCase> {};

TEST_P(ObstacleAtTheName, IsReplacedNotFollowed) {
    ScratchDirectory dir;
    ScratchDirectory other;
    const ViewFileWriter writer(dir.Path());
    const fs::path elsewhere = other.Path() / "notes.txt";
    GetParam().place(writer.Path(), elsewhere);

    // The write runs apart so that a write that blocks fails the test instead
    // of hanging it; a reader is then opened to let it go.
    auto write = std::async(std::launch::async,
                            [&] { writer.WriteViewFile(State(48.86f, 2.2877f, 250), '.'); });
    if (write.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        const int fd = ::open(writer.Path().c_str(), O_RDONLY | O_NONBLOCK);
        write.wait();
        ::close(fd);
        FAIL() << "the write blocked";
    }
    write.get();

    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(writer.Path())));
    EXPECT_EQ(ReadBytes(writer.Path()), WorkedExample);
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"TembrelData.KML"});
    if (GetParam().elsewhereExists) {
        EXPECT_EQ(ReadBytes(elsewhere), "the user's own text\n");
    } else {
        EXPECT_FALSE(fs::exists(elsewhere));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ObstacleAtTheName,
    ::testing::Values(ObstacleCase{"LinkToAFile",
                                   [](const fs::path& view, const fs::path& elsewhere) {
                                       std::ofstream(elsewhere, std::ios::binary)
                                           << "the user's own text\n";
                                       fs::create_symlink(elsewhere, view);
                                   },
                                   true},
                      ObstacleCase{"LinkToNothing",
                                   [](const fs::path& view, const fs::path& elsewhere) {
                                       fs::create_symlink(elsewhere, view);
                                   },
                                   false},
                      ObstacleCase{"Pipe",
                                   [](const fs::path& view, const fs::path&) {
                                       ASSERT_EQ(::mkfifo(view.c_str(), 0666), 0);
                                   },
                                   false}),
    [](const auto& info) { return info.param.name; });

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
