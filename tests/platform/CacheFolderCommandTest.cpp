#include "CacheFolderCommand.h"
#include "ConfFileCacheFolderCommand.h"

#include "RecordingShellOpener.h"
#include "ScopedEnvironment.h"
#include "StoredText.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tembrel {
namespace {

using test::ReadFile;
using test::RecordingShellOpener;
using test::TemporaryUser;
using test::WriteFile;

// Each case writes Google Earth's settings files and creates folders; "{home}"
// stands for the temporary home folder, in file contents and paths alike.
struct CacheCase {
    const char* name;
    std::optional<std::string> proConf;  // Google/GoogleEarthPro.conf
    std::optional<std::string> plusConf; // Google/GoogleEarthPlus.conf
    std::vector<std::string> folders;    // created before the run
    std::optional<std::string> opened;   // the folder handed to the shell; nullopt: Run() fails
};

void PrintTo(const CacheCase& c, std::ostream* os) {
    *os << c.name;
}

std::string Expand(std::string text, const QString& home) {
    const std::string placeholder = "{home}";
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder)) {
        text.replace(at, placeholder.size(), home.toStdString());
    }
    return text;
}

// Every file under `folder` with its contents.
std::map<QString, QByteArray> Snapshot(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[path] = QFileInfo(path).isFile() ? ReadFile(path) : QByteArray("<folder>");
    }
    return files;
}

class CacheFolderCommandTest : public ::testing::TestWithParam<CacheCase> {};

TEST_P(CacheFolderCommandTest, OpensTheRecordedFolderOrFails) {
    const CacheCase& c = GetParam();
    TemporaryUser user;
    const QString google = user.Config() + QStringLiteral("/Google");
    if (c.proConf) {
        WriteFile(google + QStringLiteral("/GoogleEarthPro.conf"),
                  QByteArray::fromStdString(Expand(*c.proConf, user.Home())));
    }
    if (c.plusConf) {
        WriteFile(google + QStringLiteral("/GoogleEarthPlus.conf"),
                  QByteArray::fromStdString(Expand(*c.plusConf, user.Home())));
    }
    for (const std::string& folder : c.folders) {
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(Expand(folder, user.Home()))));
    }
    const auto configBefore = Snapshot(user.Config());

    RecordingShellOpener shell;
    ConfFileCacheFolderCommand command(shell, user.Config(), user.Home());
    const bool succeeded = command.Run();

    if (c.opened) {
        // In the form the system's shell takes (see OpenFolderInShellTest).
        const QString folder = QString::fromStdString(Expand(*c.opened, user.Home()));
        EXPECT_TRUE(succeeded);
        EXPECT_EQ(shell.opened, std::vector<std::string>{FolderShellTarget(folder).toStdString()});
    } else {
        EXPECT_FALSE(succeeded);
        EXPECT_TRUE(shell.opened.empty());
    }
    // Google Earth's files are only read.
    EXPECT_EQ(Snapshot(user.Config()), configBefore);
}

const std::vector<CacheCase> kCacheCases = {
    {"PathWithBlanksInPro",
     "[General]\nCachePath={home}/My Cache/Google Earth\n",
     std::nullopt,
     {"{home}/My Cache/Google Earth"},
     "{home}/My Cache/Google Earth"},
    {"PathWithBlanksInPlus",
     std::nullopt,
     "[General]\nCachePath={home}/Old  Cache \n",
     {"{home}/Old  Cache"},
     "{home}/Old  Cache"},
    {"QuotedPathWithComma",
     "[General]\nCachePath=\"{home}/a, b \"\n",
     std::nullopt,
     {"{home}/a, b "},
     "{home}/a, b "},
    {"ProWinsOverPlus",
     "[General]\nCachePath={home}/pro\n",
     "[General]\nCachePath={home}/plus\n",
     {"{home}/pro", "{home}/plus"},
     "{home}/pro"},
    {"ProWithoutTheValueFallsBackToPlus",
     "[General]\nOther=1\n[Cache]\nCachePath={home}/no\n",
     "[General]\nCachePath={home}/plus\n",
     {"{home}/plus", "{home}/no"},
     "{home}/plus"},
    {"NoFilesGiveTheDefaultFolder",
     std::nullopt,
     std::nullopt,
     {"{home}/.googleearth/Cache"},
     "{home}/.googleearth/Cache"},
    {"EmptyPathGivesTheDefaultFolder",
     "[General]\nCachePath=\n",
     "[General]\nCachePath={home}/plus\n",
     {"{home}/.googleearth/Cache", "{home}/plus"},
     "{home}/.googleearth/Cache"},
    {"ValueWithoutDataGivesTheDefaultFolder",
     "[General]\nCachePath=@Invalid()\n",
     std::nullopt,
     {"{home}/.googleearth/Cache"},
     "{home}/.googleearth/Cache"},
    {"MissingDefaultFolderFails", std::nullopt, std::nullopt, {}, std::nullopt},
    {"FolderThatDoesNotExistFails",
     "[General]\nCachePath={home}/gone\n",
     std::nullopt,
     {},
     std::nullopt},
    {"NumberValueFails",
     "[General]\nCachePath=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n",
     std::nullopt,
     {"{home}/.googleearth/Cache"},
     std::nullopt},
    {"ListValueFails",
     "[General]\nCachePath={home}/a, {home}/b\n",
     std::nullopt,
     {"{home}/a", "{home}/b"},
     std::nullopt},
    {"ByteArrayValueFails",
     "[General]\nCachePath=@ByteArray({home}/pro)\n",
     std::nullopt,
     {"{home}/pro"},
     std::nullopt},
    {"NonStringInPlusFails",
     std::nullopt,
     "[General]\nCachePath=1, 2\n",
     {"{home}/.googleearth/Cache"},
     std::nullopt},
    {"RelativePathFails", "[General]\nCachePath=home/cache\n", std::nullopt, {}, std::nullopt},
    {"CraftedValueOfAnotherKeyIsNotRead",
     "[General]\nOther=@Variant(\\0\\0\\0\\t_@I0\\0\\0\\x5)\nCachePath={home}/pro\n",
     std::nullopt,
     {"{home}/pro"},
     "{home}/pro"},
    {"CraftedPathFails",
     "[General]\nCachePath=\\x40Variant(\\0\\0\\0\\t_@I0\\0\\0\\x5)\n",
     "[General]\nCachePath={home}/plus\n",
     {"{home}/plus", "{home}/.googleearth/Cache"},
     std::nullopt},
    {"WebAddressFails",
     "[General]\nCachePath=\"http://example.com/x\"\n",
     std::nullopt,
     {"{home}/.googleearth/Cache"},
     std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Settings, CacheFolderCommandTest, ::testing::ValuesIn(kCacheCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Google Earth's file is something that cannot be read as one, or not in
// bounded time and memory: the command fails at once.
enum class Unfit { Folder, Fifo, Oversized };

class UnfitSettingsFileTest : public ::testing::TestWithParam<Unfit> {};

TEST_P(UnfitSettingsFileTest, Fails) {
    TemporaryUser user;
    const QString file = user.Config() + QStringLiteral("/Google/GoogleEarthPro.conf");
    ASSERT_TRUE(QDir().mkpath(user.Home() + QStringLiteral("/.googleearth/Cache")));
    switch (GetParam()) {
    case Unfit::Folder:
        ASSERT_TRUE(QDir().mkpath(file));
        break;
    case Unfit::Fifo:
#ifdef _WIN32
        GTEST_SKIP() << "no FIFOs";
#else
        ASSERT_TRUE(QDir().mkpath(user.Config() + QStringLiteral("/Google")));
        ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
#endif
        break;
    case Unfit::Oversized:
        WriteFile(file, "[General]\nCachePath=" + user.Home().toUtf8() + "/.googleearth/Cache\n" +
                            QByteArray(MaxSettingsFileBytes, ';'));
        break;
    }
    RecordingShellOpener shell;
    ConfFileCacheFolderCommand command(shell, user.Config(), user.Home());
    EXPECT_FALSE(command.Run());
    EXPECT_TRUE(shell.opened.empty());
}

std::string NameOf(Unfit unfit) {
    switch (unfit) {
    case Unfit::Folder:
        return "Folder";
    case Unfit::Fifo:
        return "Fifo";
    case Unfit::Oversized:
        break;
    }
    return "Oversized";
}

INSTANTIATE_TEST_SUITE_P(Files, UnfitSettingsFileTest,
                         ::testing::Values(Unfit::Folder, Unfit::Fifo, Unfit::Oversized),
                         [](const auto& info) { return NameOf(info.param); });

// Paths a settings file might name, with folders of those names in the
// working folder: only an absolute path of an existing folder reaches the
// shell, so nothing is taken for an option or a web page; xdg-open gets a
// file:// URL, ShellExecute the native path.
#ifdef _WIN32
#define SHELL_TARGET(posix, windows) windows
#else
#define SHELL_TARGET(posix, windows) posix
#endif

struct PathCase {
    const char* name;
    std::string path;   // "{work}" stands for the working folder
    std::string target; // handed to the shell; empty: refused
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.name;
}

class OpenFolderInShellTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(OpenFolderInShellTest, HandsOverOnlyAbsoluteFolders) {
    const QTemporaryDir work;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.path()));
    for (const char* folder : {"--version", SHELL_TARGET("http:/example.com/x", "http"), "cache",
                               "My Cache/100%", "caf\xc3\xa9"}) {
        ASSERT_TRUE(QDir(work.path()).mkpath(QString::fromUtf8(folder)));
    }
    WriteFile(work.filePath(QStringLiteral("file")), "not a folder");
    const auto expand = [](std::string text, const QString& work) {
        const std::string placeholder = "{work}";
        const std::size_t at = text.find(placeholder);
        return at == std::string::npos ? text
                                       : text.replace(at, placeholder.size(), work.toStdString());
    };

    RecordingShellOpener shell;
    const bool opened =
        OpenFolderInShell(shell, QString::fromStdString(expand(GetParam().path, work.path())));
    ASSERT_TRUE(QDir::setCurrent(previous));

    if (GetParam().target.empty()) {
        EXPECT_FALSE(opened);
        EXPECT_TRUE(shell.opened.empty());
    } else {
        EXPECT_TRUE(opened);
        EXPECT_EQ(shell.opened, std::vector<std::string>{expand(
                                    GetParam().target, QDir::toNativeSeparators(work.path()))});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, OpenFolderInShellTest,
    ::testing::Values(
        PathCase{"Option", "--version", ""}, PathCase{"WebAddress", "http://example.com/x", ""},
        PathCase{"FileUrl", "file://{work}/cache", ""}, PathCase{"Relative", "cache", ""},
        PathCase{"DotRelative", "./cache", ""}, PathCase{"Empty", "", ""},
        PathCase{"AFile", "{work}/file", ""}, PathCase{"Missing", "{work}/gone", ""},
        PathCase{"Absolute", "{work}/cache", SHELL_TARGET("file://{work}/cache", "{work}\\cache")},
        PathCase{"AbsoluteOption", "{work}/--version",
                 SHELL_TARGET("file://{work}/--version", "{work}\\--version")},
        PathCase{"BlanksAndPercent", "{work}/My Cache/100%",
                 SHELL_TARGET("file://{work}/My%20Cache/100%25", "{work}\\My Cache\\100%")},
        PathCase{"NonAscii", "{work}/caf\xc3\xa9",
                 SHELL_TARGET("file://{work}/caf%C3%A9", "{work}\\caf\xc3\xa9")},
        PathCase{"Untidy", "{work}//cache/./",
                 SHELL_TARGET("file://{work}/cache", "{work}\\cache")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CacheFolderCommand, AFileInsteadOfAFolderFails) {
    TemporaryUser user;
    const QString notAFolder = user.Home() + QStringLiteral("/cache.txt");
    WriteFile(notAFolder, "a file");
    WriteFile(user.Config() + QStringLiteral("/Google/GoogleEarthPro.conf"),
              "[General]\nCachePath=" + notAFolder.toUtf8() + "\n");
    RecordingShellOpener shell;
    ConfFileCacheFolderCommand command(shell, user.Config(), user.Home());
    EXPECT_FALSE(command.Run());
    EXPECT_TRUE(shell.opened.empty());
}

TEST(CacheFolderCommand, AShellThatRefusesFails) {
    TemporaryUser user;
    ASSERT_TRUE(QDir().mkpath(user.Home() + QStringLiteral("/.googleearth/Cache")));
    RecordingShellOpener shell;
    shell.accepts = false;
    ConfFileCacheFolderCommand command(shell, user.Config(), user.Home());
    EXPECT_FALSE(command.Run());
    EXPECT_EQ(shell.opened.size(), 1u);
}

#ifndef _WIN32
// The system's command reads Google Earth's files (the registry on Windows:
// RegistryWinTest.cpp).
TEST(CacheFolderCommand, TheSystemCommandLooksInTheUsersFolders) {
    TemporaryUser user;
    const QString cache = user.Home() + QStringLiteral("/elsewhere/Cache dir");
    ASSERT_TRUE(QDir().mkpath(cache));
    WriteFile(user.Config() + QStringLiteral("/Google/GoogleEarthPro.conf"),
              "[General]\nCachePath=" + cache.toUtf8() + "\n");
    RecordingShellOpener shell;
    EXPECT_TRUE(CreateCacheFolderCommand(shell)->Run());
    EXPECT_EQ(shell.opened, std::vector<std::string>{"file://" + user.Home().toStdString() +
                                                     "/elsewhere/Cache%20dir"});
}

TEST(CacheFolderCommand, TheSystemCommandFallsBackToTheHomeCache) {
    TemporaryUser user;
    const QString cache = user.Home() + QStringLiteral("/.googleearth/Cache");
    ASSERT_TRUE(QDir().mkpath(cache));
    RecordingShellOpener shell;
    EXPECT_TRUE(CreateCacheFolderCommand(shell)->Run());
    EXPECT_EQ(shell.opened, std::vector<std::string>{"file://" + cache.toStdString()});
}
#endif

} // namespace
} // namespace tembrel
