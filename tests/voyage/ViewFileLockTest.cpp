// The one-voyage-per-folder lock, between real processes: whatever stands at
// the lock's name, a second copy is refused while the first holds it, and
// nothing but another copy's lock keeps one out.
#include "ViewFileLock.h"

#include "ScratchDirectory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tembrel {
namespace {

namespace fs = std::filesystem;
using Result = ViewFileLock::Result;
using test::ScratchDirectory;

constexpr const char* ViewName = "TembrelData.KML";

const char* Name(Result result) {
    switch (result) {
    case Result::Held:
        return "Held";
    case Result::Unguarded:
        return "Unguarded";
    case Result::HeldElsewhere:
        return "HeldElsewhere";
    case Result::Unusable:
        return "Unusable";
    }
    return "?";
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Another copy of the program in a process of its own, taking the lock for
// the view file in folder. It holds what it took until it is stopped or
// killed. On Windows it is view_file_lock_probe.exe beside this program.
class OtherCopy {
public:
    explicit OtherCopy(const fs::path& folder);
    OtherCopy(const OtherCopy&) = delete;
    OtherCopy& operator=(const OtherCopy&) = delete;
    ~OtherCopy() { Stop(); }

    // What its Acquire returned; nothing when it could not be started.
    std::optional<Result> Outcome() const { return outcome_; }
    // Lets it release and end, and waits for its end.
    void Stop();
    // Ends it at once: no release, as at a crash.
    void Kill();

private:
    std::optional<Result> outcome_;
#ifdef _WIN32
    HANDLE process_ = nullptr;
    HANDLE input_ = nullptr;
#else
    pid_t child_ = -1;
    int input_ = -1;
#endif
};

std::optional<Result> FromDigit(char digit) {
    const int value = digit - '0';
    if (value < 0 || value > static_cast<int>(Result::Unusable)) {
        return std::nullopt;
    }
    return static_cast<Result>(value);
}

#ifdef _WIN32

fs::path ProbePath() {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(std::wstring(self, length)).parent_path() / "view_file_lock_probe.exe";
}

OtherCopy::OtherCopy(const fs::path& folder) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE childInput = nullptr;
    HANDLE output = nullptr;
    HANDLE childOutput = nullptr;
    if (!CreatePipe(&childInput, &input_, &inherit, 0) ||
        !CreatePipe(&output, &childOutput, &inherit, 0)) {
        return;
    }
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    const std::wstring program = ProbePath().wstring();
    std::wstring commandLine = L"\"" + program + L"\"";
    const bool ok = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                   nullptr, folder.wstring().c_str(), &startup, &started);
    CloseHandle(childInput);
    CloseHandle(childOutput);
    if (ok) {
        CloseHandle(started.hThread);
        process_ = started.hProcess;
        char digit = 0;
        DWORD read = 0;
        if (ReadFile(output, &digit, 1, &read, nullptr) && read == 1) {
            outcome_ = FromDigit(digit);
        }
    }
    CloseHandle(output);
}

void OtherCopy::Stop() {
    if (input_ != nullptr) {
        CloseHandle(input_);
        input_ = nullptr;
    }
    if (process_ != nullptr) {
        WaitForSingleObject(process_, 10000);
        CloseHandle(process_);
        process_ = nullptr;
    }
}

void OtherCopy::Kill() {
    if (process_ != nullptr) {
        TerminateProcess(process_, 9);
    }
    Stop();
}

#else

OtherCopy::OtherCopy(const fs::path& folder) {
    int toChild[2];
    int fromChild[2];
    if (::pipe(toChild) != 0 || ::pipe(fromChild) != 0) {
        return;
    }
    child_ = ::fork();
    if (child_ == 0) {
        ::close(toChild[1]);
        ::close(fromChild[0]);
        // As an ordinary user, for whom a file's mode binds.
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(1);
        }
        ViewFileLock lock;
        const char digit =
            static_cast<char>('0' + static_cast<int>(lock.Acquire(folder / ViewName)));
        (void)!::write(fromChild[1], &digit, 1);
        char ignored = 0;
        while (::read(toChild[0], &ignored, 1) > 0) {
        }
        ::_exit(0); // no destructor of the test's own
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    input_ = toChild[1];
    char digit = 0;
    if (child_ > 0 && ::read(fromChild[0], &digit, 1) == 1) {
        outcome_ = FromDigit(digit);
    }
    ::close(fromChild[0]);
}

void OtherCopy::Stop() {
    if (input_ >= 0) {
        ::close(input_);
        input_ = -1;
    }
    if (child_ > 0) {
        int status = 0;
        ::waitpid(child_, &status, 0);
        child_ = -1;
    }
}

void OtherCopy::Kill() {
    if (child_ > 0) {
        ::kill(child_, SIGKILL);
    }
    Stop();
}

#endif

// A folder that copies run as an ordinary user may write into.
class SharedFolder {
public:
    SharedFolder() { fs::permissions(scratch_.Path(), fs::perms::all); }
    const fs::path& Path() const { return scratch_.Path(); }
    fs::path Lock() const { return ViewFileLock::LockPath(Path() / ViewName); }

private:
    ScratchDirectory scratch_;
};

// Something at the lock's name before the first copy starts, kept as long as
// the returned object lives (a handle of another program, say).
using Obstacle = std::function<std::shared_ptr<void>(const SharedFolder& folder)>;
// What the test finds at the lock's name and beside it afterwards.
using Aftermath = std::function<void(const SharedFolder& folder)>;

struct ObstacleCase {
    std::string name;
    Obstacle prepare;
    Result first;  // what the copy that starts first gets
    Result second; // and a second one while the first runs
    Aftermath check;
};

void PrintTo(const ObstacleCase& param, std::ostream* out) {
    *out << param.name;
}

void ALockFileStands(const SharedFolder& folder) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder.Lock()))) << folder.Lock();
}

class LockObstacles : public ::testing::TestWithParam<ObstacleCase> {};

TEST_P(LockObstacles, KeepASecondCopyOutWhileTheFirstHoldsTheLock) {
    const ObstacleCase& param = GetParam();
    SharedFolder folder;
    const std::shared_ptr<void> obstacle = param.prepare(folder);
    std::optional<Result> firstOutcome;
    {
        OtherCopy first(folder.Path());
        firstOutcome = first.Outcome();
        ASSERT_TRUE(firstOutcome.has_value());
        EXPECT_STREQ(Name(*firstOutcome), Name(param.first));
        OtherCopy second(folder.Path());
        ASSERT_TRUE(second.Outcome().has_value());
        EXPECT_STREQ(Name(*second.Outcome()), Name(param.second));
    }
    // Once the first has ended, the next copy gets what the first got.
    OtherCopy next(folder.Path());
    ASSERT_TRUE(next.Outcome().has_value());
    EXPECT_STREQ(Name(*next.Outcome()), Name(param.first));
    next.Stop();
    param.check(folder);
}

#ifdef _WIN32

// Another program's handle on the lock file, open for the whole test.
Obstacle ForeignHandle(DWORD share) {
    return [share](const SharedFolder& folder) -> std::shared_ptr<void> {
        const HANDLE handle =
            CreateFileW(folder.Lock().wstring().c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                        share, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(handle, INVALID_HANDLE_VALUE);
        return {handle, [](HANDLE h) {
                    if (h != INVALID_HANDLE_VALUE) {
                        CloseHandle(h);
                    }
                }};
    };
}

INSTANTIATE_TEST_SUITE_P(
    ViewFileLock, LockObstacles,
    ::testing::Values(
        ObstacleCase{"NoLockFileYet", [](const SharedFolder&) { return nullptr; }, Result::Held,
                     Result::HeldElsewhere, ALockFileStands},
        ObstacleCase{"ReadOnlyFile",
                     [](const SharedFolder& folder) {
                         std::ofstream(folder.Lock()).close();
                         SetFileAttributesW(folder.Lock().wstring().c_str(),
                                            FILE_ATTRIBUTE_READONLY);
                         return nullptr;
                     },
                     Result::Held, Result::HeldElsewhere,
                     [](const SharedFolder& folder) {
                         const DWORD attributes =
                             GetFileAttributesW(folder.Lock().wstring().c_str());
                         EXPECT_NE(attributes & FILE_ATTRIBUTE_READONLY, 0u);
                         SetFileAttributesW(folder.Lock().wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
                     }},
        // An indexer, a virus scanner or a sync client that has it open.
        ObstacleCase{"ForeignHandleSharingEverything",
                     ForeignHandle(FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE),
                     Result::Held, Result::HeldElsewhere, ALockFileStands},
        // The way an older copy held the folder.
        ObstacleCase{"ForeignHandleSharingNothing", ForeignHandle(0), Result::HeldElsewhere,
                     Result::HeldElsewhere, ALockFileStands},
        ObstacleCase{"EmptyFolder",
                     [](const SharedFolder& folder) {
                         fs::create_directory(folder.Lock());
                         return nullptr;
                     },
                     Result::Held, Result::HeldElsewhere, ALockFileStands},
        ObstacleCase{"FolderWithAFile",
                     [](const SharedFolder& folder) {
                         fs::create_directory(folder.Lock());
                         std::ofstream(folder.Lock() / "kept.txt", std::ios::binary)
                             << "the user's own text\n";
                         return nullptr;
                     },
                     Result::Unusable, Result::Unusable,
                     [](const SharedFolder& folder) {
                         EXPECT_EQ(Read(folder.Lock() / "kept.txt"), "the user's own text\n");
                     }}),
    [](const auto& info) { return info.param.name; });

TEST(ViewFileLock, KeepsNoOtherProgramFromOpeningTheFile) {
    SharedFolder folder;
    OtherCopy holder(folder.Path());
    ASSERT_EQ(holder.Outcome(), Result::Held);
    const HANDLE other =
        CreateFileW(folder.Lock().wstring().c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(other, INVALID_HANDLE_VALUE) << GetLastError();
    if (other != INVALID_HANDLE_VALUE) {
        CloseHandle(other);
    }
}

#else

const char* const UsersText = "the user's own text\n";

INSTANTIATE_TEST_SUITE_P(
    ViewFileLock, LockObstacles,
    ::testing::Values(
        ObstacleCase{"NoLockFileYet", [](const SharedFolder&) { return nullptr; }, Result::Held,
                     Result::HeldElsewhere, ALockFileStands},
        // The copies run as an ordinary user: the mode binds them.
        ObstacleCase{"ReadOnlyFile",
                     [](const SharedFolder& folder) {
                         std::ofstream(folder.Lock()).close();
                         fs::permissions(folder.Lock(), fs::perms::owner_read |
                                                            fs::perms::group_read |
                                                            fs::perms::others_read);
                         return nullptr;
                     },
                     Result::Held, Result::HeldElsewhere,
                     [](const SharedFolder& folder) {
                         ALockFileStands(folder);
                         EXPECT_EQ(fs::status(folder.Lock()).permissions() & fs::perms::all,
                                   fs::perms::owner_read | fs::perms::group_read |
                                       fs::perms::others_read);
                     }},
        ObstacleCase{"LinkToAFile",
                     [](const SharedFolder& folder) {
                         std::ofstream(folder.Path() / "elsewhere.txt", std::ios::binary)
                             << UsersText;
                         fs::create_symlink(folder.Path() / "elsewhere.txt", folder.Lock());
                         return nullptr;
                     },
                     Result::Held, Result::HeldElsewhere,
                     [](const SharedFolder& folder) {
                         ALockFileStands(folder);
                         EXPECT_EQ(Read(folder.Path() / "elsewhere.txt"), UsersText);
                     }},
        ObstacleCase{"LinkToNothing",
                     [](const SharedFolder& folder) {
                         fs::create_symlink(folder.Path() / "nothing", folder.Lock());
                         return nullptr;
                     },
                     Result::Held, Result::HeldElsewhere,
                     [](const SharedFolder& folder) {
                         ALockFileStands(folder);
                         EXPECT_FALSE(fs::exists(fs::symlink_status(folder.Path() / "nothing")));
                     }},
        ObstacleCase{"Pipe",
                     [](const SharedFolder& folder) {
                         EXPECT_EQ(::mkfifo(folder.Lock().c_str(), 0666), 0);
                         return nullptr;
                     },
                     Result::Held, Result::HeldElsewhere, ALockFileStands},
        ObstacleCase{"EmptyFolder",
                     [](const SharedFolder& folder) {
                         fs::create_directory(folder.Lock());
                         fs::permissions(folder.Lock(), fs::perms::all);
                         return nullptr;
                     },
                     Result::Held, Result::HeldElsewhere, ALockFileStands},
        ObstacleCase{"FolderWithAFile",
                     [](const SharedFolder& folder) {
                         fs::create_directory(folder.Lock());
                         std::ofstream(folder.Lock() / "kept.txt", std::ios::binary) << UsersText;
                         return nullptr;
                     },
                     Result::Unusable, Result::Unusable,
                     [](const SharedFolder& folder) {
                         EXPECT_EQ(Read(folder.Lock() / "kept.txt"), UsersText);
                     }}),
    [](const auto& info) { return info.param.name; });

#endif

TEST(ViewFileLock, SecondHolderIsRefusedUntilTheFirstLetsGo) {
    ScratchDirectory dir;
    const fs::path view = dir.Path() / ViewName;
    ViewFileLock first;
    ViewFileLock second;
    EXPECT_EQ(first.Acquire(view), Result::Held);
    EXPECT_EQ(first.Acquire(view), Result::Held); // again: still held, nothing changes
    EXPECT_EQ(second.Acquire(view), Result::HeldElsewhere);
    EXPECT_FALSE(second.Held());
    EXPECT_TRUE(fs::is_regular_file(dir.Path() / "TembrelData.KML.lock"));
    first.Release();
    EXPECT_EQ(second.Acquire(view), Result::Held);
    EXPECT_EQ(first.Acquire(view), Result::HeldElsewhere);
    {
        ViewFileLock other; // another file, its own lock
        EXPECT_EQ(other.Acquire(dir.Path() / "elsewhere.KML"), Result::Held);
    }
    second.Release();
    EXPECT_EQ(first.Acquire(view), Result::Held);
}

TEST(ViewFileLock, IsFreedWhenTheHolderIsKilled) {
    SharedFolder folder;
    OtherCopy holder(folder.Path());
    ASSERT_EQ(holder.Outcome(), Result::Held);
    ViewFileLock mine;
    EXPECT_EQ(mine.Acquire(folder.Path() / ViewName), Result::HeldElsewhere);
    holder.Kill();
    EXPECT_EQ(mine.Acquire(folder.Path() / ViewName), Result::Held);
}

TEST(ViewFileLock, GoesOnUnguardedWhereNoLockFileCanBeMade) {
    ScratchDirectory dir;
    ViewFileLock lock;
    EXPECT_EQ(lock.Acquire(dir.Path() / "missing" / ViewName), Result::Unguarded);
    EXPECT_FALSE(lock.Held());
}

} // namespace
} // namespace tembrel
