#include "IniFileSettingsStore.h"

#include "FileSizeLimit.h"
#include "QSettingsProbe.h"
#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <string>
#include <vector>

namespace tembrel {
namespace {

using test::FileSizeLimit;
using test::QSettingsValue;
using test::ReadFile;
using test::SameVariant;
using test::TemporaryUser;
using test::WriteFile;
using Mode = IniFileSettingsStore::Mode;
using Type = SettingsStore::ValueType;

QString StorePath(const TemporaryUser& user) {
    return user.SettingsFile();
}

QString FolderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

TEST(IniFileSettingsStore, OpenCreatesTheFolderAndAnEmptyFile) {
    TemporaryUser user;
    const QString path = StorePath(user);
    IniFileSettingsStore store(path, Mode::CreateWhenMissing);

    ASSERT_TRUE(store.Open());
    EXPECT_TRUE(QFileInfo(path).isFile());
    EXPECT_TRUE(ReadFile(path).isEmpty());
    Type type = Type::Other;
    std::size_t size = 0;
    EXPECT_FALSE(store.QueryValue("E_LatD", type, size));
    EXPECT_TRUE(store.Close());
    EXPECT_TRUE(ReadFile(path).isEmpty()); // closing without writes changes nothing
}

TEST(IniFileSettingsStore, ReadOnlyNeverCreatesAnything) {
    TemporaryUser user;
    const QString path = StorePath(user);
    IniFileSettingsStore store(path, Mode::ReadOnly);

    EXPECT_FALSE(store.Open());
    EXPECT_FALSE(QFileInfo::exists(FolderOf(path)));
    EXPECT_FALSE(store.SetString("E_LatD", "1"));
    EXPECT_TRUE(store.Close());
    EXPECT_FALSE(QFileInfo::exists(FolderOf(path)));
}

TEST(IniFileSettingsStore, ReadOnlyRefusesWrites) {
    TemporaryUser user;
    const QString path = StorePath(user);
    WriteFile(path, "[General]\nE_LatD=1\n");
    IniFileSettingsStore store(path, Mode::ReadOnly);

    ASSERT_TRUE(store.Open());
    EXPECT_FALSE(store.SetString("E_LatD", "2"));
    EXPECT_TRUE(store.Close());
    EXPECT_EQ(ReadFile(path).toStdString(), "[General]\nE_LatD=1\n");
}

// Something in the way of the store: a file where its folder must be, or a
// folder where the file must be. Whatever is there stays as it was.
enum class Obstacle { FileForFolder, FolderForFile };

struct BlockedCase {
    const char* name;
    Obstacle obstacle;
    Mode mode;
};

void PrintTo(const BlockedCase& c, std::ostream* os) {
    *os << c.name;
}

class BlockedStoreTest : public ::testing::TestWithParam<BlockedCase> {};

TEST_P(BlockedStoreTest, CannotOpenAndLeavesTheObstacleAlone) {
    const BlockedCase& c = GetParam();
    TemporaryUser user;
    const QString path = StorePath(user);
    if (c.obstacle == Obstacle::FileForFolder) {
        WriteFile(FolderOf(path), "not a folder");
    } else {
        WriteFile(path + QStringLiteral("/inside"), "kept");
    }

    IniFileSettingsStore store(path, c.mode);
    EXPECT_FALSE(store.Open());
    Type type = Type::Other;
    std::size_t size = 0;
    EXPECT_FALSE(store.QueryValue("E_LatD", type, size));
    EXPECT_FALSE(store.SetString("E_LatD", "30"));
    store.Close();

    if (c.obstacle == Obstacle::FileForFolder) {
        EXPECT_EQ(ReadFile(FolderOf(path)).toStdString(), "not a folder");
    } else {
        EXPECT_TRUE(QFileInfo(path).isDir());
        EXPECT_EQ(ReadFile(path + QStringLiteral("/inside")).toStdString(), "kept");
    }
}

INSTANTIATE_TEST_SUITE_P(Obstacles, BlockedStoreTest,
                         ::testing::Values(BlockedCase{"FileForFolder", Obstacle::FileForFolder,
                                                       Mode::CreateWhenMissing},
                                           BlockedCase{"FolderForFile", Obstacle::FolderForFile,
                                                       Mode::CreateWhenMissing},
                                           BlockedCase{"FolderForFileReadOnly",
                                                       Obstacle::FolderForFile, Mode::ReadOnly}),
                         [](const auto& info) { return std::string(info.param.name); });

// How each kind of hand-written value looks through the registry-like view.
struct TypeCase {
    const char* name;
    QByteArray raw;
    Type type;
    std::string data;
};

void PrintTo(const TypeCase& c, std::ostream* os) {
    *os << c.name;
}

class StoredValueTypeTest : public ::testing::TestWithParam<TypeCase> {};

TEST_P(StoredValueTypeTest, QueriesAndReadsTheValue) {
    const TypeCase& c = GetParam();
    TemporaryUser user;
    const QString path = StorePath(user);
    WriteFile(path, "[General]\nE_VS=" + c.raw + "\n");
    IniFileSettingsStore store(path, Mode::CreateWhenMissing);
    ASSERT_TRUE(store.Open());

    Type type = Type::ExpandString;
    std::size_t size = 99;
    ASSERT_TRUE(store.QueryValue("E_VS", type, size));
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(size, c.data.size());

    std::string data = "stale";
    type = Type::ExpandString;
    ASSERT_TRUE(store.ReadValue("E_VS", size, type, data));
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(data, c.data);
    store.Close();
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredValueTypeTest,
    ::testing::Values(TypeCase{"Text", "2.5", Type::String, std::string("2.5\0", 4)},
                      TypeCase{"EmptyText", "", Type::String, std::string("\0", 1)},
                      TypeCase{"QuotedText", "\" 2,5 \"", Type::String, std::string(" 2,5 \0", 6)},
                      TypeCase{"TextWithNul", "1\\0x", Type::String, std::string("1\0x\0", 4)},
                      TypeCase{"List", "a, b", Type::Other, std::string("a\0b\0\0", 5)},
                      TypeCase{"VariantInt", "@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)", Type::Other,
                               std::string("5\0", 2)},
                      TypeCase{"ByteArray", "@ByteArray(xy)", Type::Other, "xy"},
                      TypeCase{"EmptyByteArray", "@ByteArray()", Type::Other, ""},
                      TypeCase{"Invalid", "@Invalid()", Type::Other, ""},
                      TypeCase{"Rect", "@Rect(1 2 3 4)", Type::Other, std::string("\0", 1)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFileSettingsStore, ReadFailsWhenTheBufferIsTooSmall) {
    TemporaryUser user;
    const QString path = StorePath(user);
    WriteFile(path, "[General]\nE_VA=1200\n");
    IniFileSettingsStore store(path, Mode::CreateWhenMissing);
    ASSERT_TRUE(store.Open());
    Type type = Type::Other;
    std::string data;
    EXPECT_FALSE(store.ReadValue("E_VA", 4, type, data));
    EXPECT_TRUE(store.ReadValue("E_VA", 5, type, data));
    EXPECT_EQ(data, std::string("1200\0", 5));
    EXPECT_FALSE(store.ReadValue("E_VR", 5, type, data)); // missing
}

TEST(IniFileSettingsStore, NothingWorksBeforeOpenOrAfterClose) {
    TemporaryUser user;
    const QString path = StorePath(user);
    WriteFile(path, "[General]\nE_VA=1200\n");
    IniFileSettingsStore store(path, Mode::CreateWhenMissing);
    Type type = Type::Other;
    std::size_t size = 0;
    std::string data;

    EXPECT_FALSE(store.QueryValue("E_VA", type, size));
    EXPECT_FALSE(store.SetString("E_VA", "1"));
    ASSERT_TRUE(store.Open());
    EXPECT_TRUE(store.QueryValue("E_VA", type, size));
    EXPECT_TRUE(store.Close());
    EXPECT_FALSE(store.QueryValue("E_VA", type, size));
    EXPECT_FALSE(store.ReadValue("E_VA", 5, type, data));
    EXPECT_FALSE(store.SetString("E_VA", "1"));
    EXPECT_EQ(ReadFile(path).toStdString(), "[General]\nE_VA=1200\n");
}

TEST(IniFileSettingsStore, WritesAreCommittedAtCloseAndQSettingsReadsThem) {
    TemporaryUser user;
    const QString path = StorePath(user);
    WriteFile(path, "[General]\nE_LatD=old\nOther=kept\n");
    IniFileSettingsStore store(path, Mode::CreateWhenMissing);
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.SetString("E_LatD", " 30,25 "));
    ASSERT_TRUE(store.SetString("E_VR", "\xc3\xa9t\xc3\xa9"));
    EXPECT_EQ(ReadFile(path).toStdString(), "[General]\nE_LatD=old\nOther=kept\n");

    EXPECT_TRUE(store.Close());
    const QByteArray written = ReadFile(path);
    EXPECT_TRUE(
        SameVariant(QSettingsValue(written, QStringLiteral("E_LatD")), QStringLiteral(" 30,25 ")));
    EXPECT_TRUE(SameVariant(QSettingsValue(written, QStringLiteral("E_VR")),
                            QString::fromUtf8("\xc3\xa9t\xc3\xa9")));
    EXPECT_TRUE(
        SameVariant(QSettingsValue(written, QStringLiteral("Other")), QStringLiteral("kept")));
}

TEST(IniFileSettingsStore, ReopeningDropsWritesNotCommitted) {
    TemporaryUser user;
    const QString path = StorePath(user);
    IniFileSettingsStore store(path, Mode::CreateWhenMissing);
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.SetString("E_LatD", "1"));
    ASSERT_TRUE(store.Open());
    EXPECT_TRUE(store.Close());
    EXPECT_TRUE(ReadFile(path).isEmpty());
}

// A full disk during the save: the previous file stays whole and no
// temporary file is left beside it.
TEST(IniFileSettingsStore, FailedCommitLeavesThePreviousFileIntact) {
    TemporaryUser user;
    const QString path = StorePath(user);
    const QByteArray previous = "[General]\nE_LatD=previous latitude\nE_LonD=previous\n";
    WriteFile(path, previous);
    IniFileSettingsStore store(path, Mode::CreateWhenMissing);
    ASSERT_TRUE(store.Open());
    ASSERT_TRUE(store.SetString("E_LatD", "a new latitude long enough to pass the limit"));
    bool committed = true;
    {
        const FileSizeLimit diskFull(24);
        committed = store.Close();
    }
    EXPECT_FALSE(committed);
    EXPECT_EQ(ReadFile(path).toStdString(), previous.toStdString());
    EXPECT_EQ(QDir(FolderOf(path)).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Tembrel.conf")});

    // The store still reads the previous values.
    ASSERT_TRUE(store.Open());
    std::string data;
    Type type = Type::Other;
    ASSERT_TRUE(store.ReadValue("E_LatD", 100, type, data));
    EXPECT_EQ(data, std::string("previous latitude\0", 18));
}

} // namespace
} // namespace tembrel
