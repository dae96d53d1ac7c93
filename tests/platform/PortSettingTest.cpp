// The view server's port kept in its own file: saved and read back, a file
// that is not a port reads as none, a link in its place is replaced and
// never followed, and the eight texts' save leaves it alone.
#include "PortSetting.h"
#include "IniSettingsStore.h"
#include "ScopedEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <unistd.h>

namespace tembrel {
namespace {

QString PortFile(const test::TemporaryUser& user) {
    return user.Config() + QStringLiteral("/Tembrel/ViewServerPort");
}

void Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(PortSetting, SavedAndReadBack) {
    const test::TemporaryUser user;
    EXPECT_EQ(CreateUserPortSetting()->Read(), 0);
    ASSERT_TRUE(CreateUserPortSetting()->Save(24680));
    EXPECT_EQ(CreateUserPortSetting()->Read(), 24680);
    QFile file(PortFile(user));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("24680\n"));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(user.Config() + QStringLiteral("/Tembrel")).entryList(QDir::Files),
              QStringList{QStringLiteral("ViewServerPort")});
}

class Contents : public ::testing::TestWithParam<std::pair<const char*, int>> {};

TEST_P(Contents, OnlyAPortReadsAsOne) {
    const test::TemporaryUser user;
    Write(PortFile(user), QByteArray(GetParam().first));
    EXPECT_EQ(CreateUserPortSetting()->Read(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Cases, Contents,
                         ::testing::Values(std::pair{"24680\n", 24680}, std::pair{"24680", 24680},
                                           std::pair{"24680\r\n", 24680}, std::pair{"65535", 65535},
                                           std::pair{"65536", 0}, std::pair{"0", 0},
                                           std::pair{"-1", 0}, std::pair{" 80", 0},
                                           std::pair{"80 x", 0}, std::pair{"", 0},
                                           std::pair{"00000000000000080", 0}));

TEST(PortSetting, ALinkInItsPlaceIsReplacedNotFollowed) {
    const test::TemporaryUser user;
    const QString target = user.Home() + QStringLiteral("/elsewhere");
    Write(target, "12345");
    QDir().mkpath(user.Config() + QStringLiteral("/Tembrel"));
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(),
                        QFile::encodeName(PortFile(user)).constData()),
              0);
    EXPECT_EQ(CreateUserPortSetting()->Read(), 0);
    ASSERT_TRUE(CreateUserPortSetting()->Save(24680));
    EXPECT_FALSE(QFileInfo(PortFile(user)).isSymLink());
    EXPECT_EQ(CreateUserPortSetting()->Read(), 24680);
    QFile outside(target);
    ASSERT_TRUE(outside.open(QIODevice::ReadOnly));
    EXPECT_EQ(outside.readAll(), QByteArray("12345"));
}

TEST(PortSetting, TheSecretIsKeptBesideThePortForTheUserAlone) {
    const test::TemporaryUser user;
    EXPECT_EQ(CreateUserPortSetting()->ReadSecret(), "");
    // A port file of an earlier version, without a secret, reads as before.
    Write(PortFile(user), "24680\n");
    EXPECT_EQ(CreateUserPortSetting()->Read(), 24680);
    ASSERT_TRUE(CreateUserPortSetting()->SaveSecret("0123456789abcdef0123456789abcdef"));
    EXPECT_EQ(CreateUserPortSetting()->ReadSecret(), "0123456789abcdef0123456789abcdef");
    EXPECT_EQ(CreateUserPortSetting()->Read(), 24680);
    const QString secretFile = user.Config() + QStringLiteral("/Tembrel/ViewServerSecret");
    EXPECT_EQ(QFileInfo(secretFile).permissions() &
                  (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup |
                   QFileDevice::WriteOther),
              QFileDevice::Permissions{});
    QFile port(PortFile(user));
    ASSERT_TRUE(port.open(QIODevice::ReadOnly));
    EXPECT_EQ(port.readAll(), QByteArray("24680\n"));
    // A file far longer than a secret is not one; nor is a link followed.
    Write(secretFile, QByteArray(100, 'a'));
    EXPECT_EQ(CreateUserPortSetting()->ReadSecret(), "");
    const QString target = user.Home() + QStringLiteral("/elsewhere");
    Write(target, "fedcba9876543210fedcba9876543210");
    QFile::remove(secretFile);
    ASSERT_EQ(
        ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(secretFile).constData()),
        0);
    EXPECT_EQ(CreateUserPortSetting()->ReadSecret(), "");
}

TEST(PortSetting, TheTextsSaveLeavesItAlone) {
    const test::TemporaryUser user;
    ASSERT_TRUE(CreateUserPortSetting()->Save(24680));
    IniSettingsStore store(user.SettingsFile());
    store.Restore();
    ASSERT_TRUE(store.Save(EditTexts{}));
    EXPECT_EQ(CreateUserPortSetting()->Read(), 24680);
}

} // namespace
} // namespace tembrel
