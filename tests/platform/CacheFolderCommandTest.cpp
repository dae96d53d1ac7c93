#include "CacheFolderCommand.h"
#include "ConfFileCacheFolderCommand.h"

#include "RecordingShellOpener.h"
#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

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
    std::optional<std::string> opened;   // handed to the shell; nullopt: Run() fails
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
        EXPECT_TRUE(succeeded);
        EXPECT_EQ(shell.opened, std::vector<std::string>{Expand(*c.opened, user.Home())});
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
};

INSTANTIATE_TEST_SUITE_P(Settings, CacheFolderCommandTest, ::testing::ValuesIn(kCacheCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CacheFolderCommand, AnUnreadableSettingsFileFails) {
    TemporaryUser user;
    // A folder where Google Earth's file should be cannot be read as one.
    ASSERT_TRUE(QDir().mkpath(user.Config() + QStringLiteral("/Google/GoogleEarthPro.conf")));
    ASSERT_TRUE(QDir().mkpath(user.Home() + QStringLiteral("/.googleearth/Cache")));
    RecordingShellOpener shell;
    ConfFileCacheFolderCommand command(shell, user.Config(), user.Home());
    EXPECT_FALSE(command.Run());
    EXPECT_TRUE(shell.opened.empty());
}

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

TEST(CacheFolderCommand, TheSystemCommandLooksInTheUsersFolders) {
    TemporaryUser user;
    const QString cache = user.Home() + QStringLiteral("/elsewhere/Cache dir");
    ASSERT_TRUE(QDir().mkpath(cache));
    WriteFile(user.Config() + QStringLiteral("/Google/GoogleEarthPro.conf"),
              "[General]\nCachePath=" + cache.toUtf8() + "\n");
    RecordingShellOpener shell;
    EXPECT_TRUE(CreateCacheFolderCommand(shell)->Run());
    EXPECT_EQ(shell.opened, std::vector<std::string>{cache.toStdString()});
}

TEST(CacheFolderCommand, TheSystemCommandFallsBackToTheHomeCache) {
    TemporaryUser user;
    const QString cache = user.Home() + QStringLiteral("/.googleearth/Cache");
    ASSERT_TRUE(QDir().mkpath(cache));
    RecordingShellOpener shell;
    EXPECT_TRUE(CreateCacheFolderCommand(shell)->Run());
    EXPECT_EQ(shell.opened, std::vector<std::string>{cache.toStdString()});
}

} // namespace
} // namespace tembrel
