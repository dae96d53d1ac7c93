#include "ShellOpener.h"

#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace tembrel {
namespace {

using test::ScopedEnvironmentVariable;
using test::WriteFile;

// A stand-in xdg-open first on PATH that writes its argument count and its
// arguments, NUL-separated, into a FIFO the test reads: the test learns
// exactly what argv the opener produced, and waits on the FIFO, not a clock.
class FakeXdgOpen {
public:
    FakeXdgOpen() {
        const QString bin = dir_.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        fifo_ = dir_.filePath(QStringLiteral("arguments"));
        EXPECT_EQ(mkfifo(QFile::encodeName(fifo_).constData(), 0600), 0);
        const QString script = bin + QStringLiteral("/xdg-open");
        WriteFile(script, "#!/bin/sh\nprintf '%s\\0' \"$#\" \"$@\" > '" + fifo_.toUtf8() + "'\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        path_.emplace("PATH", bin.toStdString());
        reader_ = open(QFile::encodeName(fifo_).constData(), O_RDONLY | O_NONBLOCK);
        EXPECT_GE(reader_, 0);
    }
    ~FakeXdgOpen() {
        if (reader_ >= 0) {
            close(reader_);
        }
    }
    FakeXdgOpen(const FakeXdgOpen&) = delete;
    FakeXdgOpen& operator=(const FakeXdgOpen&) = delete;

    QString Folder() const { return dir_.path(); }

    // The arguments the fake was started with (its count first); empty when
    // it was not started within a generous bound.
    std::vector<std::string> Arguments() {
        std::string bytes;
        char buffer[4096];
        for (;;) {
            pollfd request{reader_, POLLIN, 0};
            if (poll(&request, 1, 30000) <= 0) {
                ADD_FAILURE() << "xdg-open was not started";
                return {};
            }
            const ssize_t count = read(reader_, buffer, sizeof buffer);
            if (count > 0) {
                bytes.append(buffer, static_cast<std::size_t>(count));
            } else if (count == 0) {
                break; // the writer has closed the FIFO
            }
        }
        std::vector<std::string> arguments;
        for (std::size_t start = 0; start < bytes.size();) {
            const std::size_t end = bytes.find('\0', start);
            arguments.push_back(bytes.substr(start, end - start));
            start = end == std::string::npos ? bytes.size() : end + 1;
        }
        return arguments;
    }

private:
    QTemporaryDir dir_;
    QString fifo_;
    std::optional<ScopedEnvironmentVariable> path_;
    int reader_ = -1;
};

class SystemShellOpenerTest : public ::testing::TestWithParam<std::string> {};

TEST_P(SystemShellOpenerTest, HandsTheTargetOverAsOneArgument) {
    FakeXdgOpen xdgOpen;
    std::string target = GetParam();
    const std::string folder = "{folder}";
    if (const std::size_t at = target.find(folder); at != std::string::npos) {
        target.replace(at, folder.size(), xdgOpen.Folder().toStdString());
    }

    ASSERT_TRUE(CreateSystemShellOpener()->Open(target));
    EXPECT_EQ(xdgOpen.Arguments(), (std::vector<std::string>{"1", target}));
    // Had a shell parsed the target, the command substitution would have run.
    EXPECT_FALSE(QFileInfo::exists(xdgOpen.Folder() + QStringLiteral("/pwned")));
}

INSTANTIATE_TEST_SUITE_P(Targets, SystemShellOpenerTest,
                         ::testing::Values("/home/user/My Cache/Google Earth",
                                           "  leading and trailing blanks  ",
                                           "it's \"quoted\" \\ back", "a;b && c | d > e",
                                           "$(touch {folder}/pwned) `touch {folder}/pwned`",
                                           "https://example.org/?a=1&b=2",
                                           "mailto:someone@example.org",
                                           "caf\xc3\xa9 \xe6\x97\xa5"));

TEST(SystemShellOpener, FailsWhenXdgOpenIsMissing) {
    QTemporaryDir emptyBin;
    const ScopedEnvironmentVariable path("PATH", emptyBin.path().toStdString());
    EXPECT_FALSE(CreateSystemShellOpener()->Open("/tmp"));
}

} // namespace
} // namespace tembrel
