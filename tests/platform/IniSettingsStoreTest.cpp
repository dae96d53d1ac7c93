#include "IniSettingsStore.h"
#include "SettingsStore.h"

#include "FileSizeLimit.h"
#include "QSettingsProbe.h"
#include "ScopedEnvironment.h"
#include "StoredText.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace tembrel {
namespace {

using test::FileSizeLimit;
using test::QSettingsValue;
using test::ReadFile;
using test::SameVariant;
using test::ScopedEnvironmentVariable;
using test::TemporaryUser;
using test::WriteFile;

const EditTexts kEmpty{};
const EditTexts kFilled{"30.124555", "31.254447", "2.5", "0.54", "1", "0.8", "1200", "5"};
const EditTexts kOther{"1", "2", "3", "4", "5", "6", "7", "8"};

EditTexts Restore() {
    return CreateUserSettingsStore()->Restore();
}

bool Save(const EditTexts& texts) {
    return CreateUserSettingsStore()->Save(texts);
}

QString FolderOf(const TemporaryUser& user) {
    return QFileInfo(user.SettingsFile()).absolutePath();
}

QStringList FolderEntries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The eight values as QSettings reads the saved file.
void ExpectQSettingsReads(const QByteArray& file, const EditTexts& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_TRUE(SameVariant(QSettingsValue(file, QString::fromLatin1(EditValueNames[i])),
                                QString::fromStdString(texts[i])))
            << EditValueNames[i];
    }
}

// Files as the earlier store of this program wrote them (its own INI writer),
// with the texts they hold.
struct FileCase {
    const char* name;
    QByteArray file;
    EditTexts texts;
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

class StoredFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(StoredFileTest, AnEarlierFileRestoresTheSame) {
    TemporaryUser user;
    WriteFile(user.SettingsFile(), GetParam().file);
    EXPECT_EQ(Restore(), GetParam().texts);
}

TEST_P(StoredFileTest, SavedTextsComeBackAndQSettingsReadsThem) {
    TemporaryUser user;
    ASSERT_TRUE(Save(GetParam().texts));
    EXPECT_EQ(Restore(), GetParam().texts);
    ExpectQSettingsReads(ReadFile(user.SettingsFile()), GetParam().texts);
}

const std::vector<FileCase> kFileCases = {
    {"Numbers",
     "[General]\nE_LatD=30.124555\nE_LonD=31.254447\nE_VE=2.5\nE_VS=0.54\nE_VEast=1\n"
     "E_VSouth=0.8\nE_VA=1200\nE_VR=5\n",
     kFilled},
    {"BlanksCommasSemicolonsEquals",
     "[General]\nE_LatD=\"  30.5\"\nE_LonD=\"-31,25 \"\nE_VE=abc\nE_VS=\"1,5\"\n"
     "E_VEast=\"2;5\"\nE_VSouth=\"x=y\"\nE_VA=#10\nE_VR=\\\"5\\\"\n",
     {"  30.5", "-31,25 ", "abc", "1,5", "2;5", "x=y", "#10", "\"5\""}},
    {"NonAsciiBackslashAndAt",
     "[General]\nE_LatD=\xc3\xa9t\xc3\xa9\nE_LonD=\xe2\x82\xac 12\nE_VE=\xd9\xa3\xd9\xa0\n"
     "E_VS=\xe6\x97\xa5\nE_VEast=back\\\\slash\nE_VSouth=@@Invalid()\nE_VA=@@@\n"
     "E_VR=\"a, b, c\"\n",
     {"\xc3\xa9t\xc3\xa9", "\xe2\x82\xac 12", "\xd9\xa3\xd9\xa0", "\xe6\x97\xa5", "back\\slash",
      "@Invalid()", "@@", "a, b, c"}},
    {"EmptyBlankTabAndLookalikes",
     "[General]\nE_LatD=\" \"\nE_LonD=\nE_VE=\\t\nE_VS=1e5\nE_VEast=$FF\nE_VSouth=0x10\n"
     "E_VA=+7\nE_VR=[General]\n",
     {" ", "", "\t", "1e5", "$FF", "0x10", "+7", "[General]"}},
    {"QuotesHashesTrailingBlanksNewline",
     "[General]\nE_LatD=q\\\"uo\\\\te\nE_LonD=\"x=y;z#w\"\nE_VE=\"trail \"\nE_VS=\"   \"\n"
     "E_VEast=a\\nb\nE_VSouth=\"caf\xc3\xa9 ,5\"\nE_VA=@@at\nE_VR=%HOME%\n",
     {"q\"uo\\te", "x=y;z#w", "trail ", "   ", "a\nb", "caf\xc3\xa9 ,5", "@at", "%HOME%"}},
    {"AllEmpty", "[General]\nE_LatD=\nE_LonD=\nE_VE=\nE_VS=\nE_VEast=\nE_VSouth=\nE_VA=\nE_VR=\n",
     kEmpty},
    {"TextsThatLookLikeTypedValues",
     "[General]\nE_LatD=a@b\nE_LonD=@@x\nE_VE=@@Variant(x)\nE_VS=@@DateTime(1)\n"
     "E_VEast=\\x1\\t\nE_VSouth=\"@@Variant(1), x\"\nE_VA=@String(7)\nE_VR=@@\n",
     {"a@b", "@x", "@Variant(x)", "@DateTime(1)", "\x01\t", "@Variant(1), x", "7", "@"}},
};

INSTANTIATE_TEST_SUITE_P(Files, StoredFileTest, ::testing::ValuesIn(kFileCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The eight texts of kFilled as a file, E_VS's line replaced by `vs`.
QByteArray FilledFile(const QByteArray& vs) {
    QByteArray file = "[General]\n";
    for (std::size_t i = 0; i < kFilled.size(); ++i) {
        file += i == 3
                    ? vs
                    : QByteArray(EditValueNames[i]) + '=' + QByteArray::fromStdString(kFilled[i]);
        file += '\n';
    }
    return file;
}

// A QVariantList whose count (0x5F404930) QDataStream takes from the file:
// QSettings would ask for about 51 GB.
const QByteArray kCrafted = "@Variant(\\0\\0\\0\\t_@I0\\0\\0\\x5)";

// Files with values that QSettings would decode through QDataStream: such a
// value counts as one of another type with data, whatever it holds, and is
// never decoded.
class GuardedRestoreTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(GuardedRestoreTest, RestoresWithoutDecoding) {
    TemporaryUser user;
    WriteFile(user.SettingsFile(), GetParam().file);
    EXPECT_EQ(Restore(), GetParam().texts);
}

INSTANTIATE_TEST_SUITE_P(
    Files, GuardedRestoreTest,
    ::testing::Values(
        FileCase{
            "FoundByTheFuzzer",
            QByteArray::fromBase64("W0dlbmVyYWxdCkU/TGF0RD0iIDQ4LDg2IgpFX0xvbkQ9ImEsIFwiYlwiIgp"
                                   "FX1ZFPVx4MDAAAABzeGU5CkVfCwA9QFZhcmlhbnQoXDBcMFwwXHRfQEkwXD"
                                   "BcMFx4NSk="),
            {"", "a, \"b\"", "", "", "", "", "", ""}},
        FileCase{"CraftedValueOfAnotherKey", FilledFile("E_VS=0.54\nOther=" + kCrafted), kFilled},
        FileCase{"CraftedValueEndsTheRestore",
                 FilledFile("E_VS=" + kCrafted),
                 {"30.124555", "31.254447", "2.5", "", "", "", "", ""}},
        FileCase{"EncodedTextEndsTheRestore",
                 FilledFile("E_VS=@Variant(\\0\\0\\0\\n\\0\\0\\0\\b\\0\\x30\\0.\\0\\x35\\0\\x34)"),
                 {"30.124555", "31.254447", "2.5", "", "", "", "", ""}},
        FileCase{"CraftedValueInAnotherSectionIsNotRead",
                 "[Other]\nE_VS=" + kCrafted + "\n" + FilledFile("E_VS=0.54"), kFilled}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniSettingsStore, FirstStartGivesEmptyTextsAndCreatesAnEmptyFile) {
    TemporaryUser user;
    EXPECT_EQ(Restore(), kEmpty);
    EXPECT_TRUE(QFileInfo(user.SettingsFile()).isFile());
    EXPECT_TRUE(ReadFile(user.SettingsFile()).isEmpty());
}

TEST(IniSettingsStore, WithoutXdgConfigHomeTheFileIsInDotConfig) {
    TemporaryUser user;
    const ScopedEnvironmentVariable unset("XDG_CONFIG_HOME", std::nullopt);
    ASSERT_TRUE(Save(kFilled));
    EXPECT_TRUE(QFileInfo(user.Home() + QStringLiteral("/.config/Tembrel/Tembrel.conf")).isFile());
    EXPECT_FALSE(QFileInfo::exists(user.SettingsFile()));
    EXPECT_EQ(Restore(), kFilled);
}

// The size of the file a save of `texts` writes.
qint64 SavedSize(const EditTexts& texts) {
    TemporaryUser probe;
    return Save(texts) ? QFileInfo(probe.SettingsFile()).size() : -1;
}

// A full disk during the save: the previous file stays whole and no temporary
// file is left beside it. With room for QSettings' lock file but not for the
// whole file, Qt 6.4 reports the cut file as saved; only the read-back from
// the disk notices.
class FullDiskTest : public ::testing::TestWithParam<bool> {};

TEST_P(FullDiskTest, LeavesThePreviousFileWhole) {
    const bool roomForTheLockFile = GetParam();
    // Texts long enough that the file is well above the lock file's hundred
    // bytes or so (process id, program, host and machine names).
    EditTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = std::string(60, static_cast<char>('a' + i));
    }
    const qint64 fullSize = SavedSize(texts);
    ASSERT_GT(fullSize, 480);
    TemporaryUser user;
    const QByteArray previous = "[General]\nE_LatD=previous latitude\nE_LonD=previous\n";
    WriteFile(user.SettingsFile(), previous);
    bool saved = true;
    {
        const FileSizeLimit diskFull(roomForTheLockFile ? fullSize - 20 : 24);
        saved = Save(texts);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFile(user.SettingsFile()), previous);
    EXPECT_EQ(FolderEntries(FolderOf(user)), QStringList{QStringLiteral("Tembrel.conf")});
    EXPECT_EQ(Restore()[0], "previous latitude");
}

INSTANTIATE_TEST_SUITE_P(Limits, FullDiskTest, ::testing::Values(false, true),
                         [](const auto& info) {
                             return std::string(info.param ? "CutFileReportedAsSaved"
                                                           : "NoRoomForTheLockFile");
                         });

// The settings file is a link: the save replaces the link with a file of its
// own and never writes where the link points.
class LinkedFileTest : public ::testing::TestWithParam<bool> {};

TEST_P(LinkedFileTest, IsReplacedNotFollowed) {
    const bool targetExists = GetParam();
    TemporaryUser user;
    const QString target = user.Home() + QStringLiteral("/outside.txt");
    if (targetExists) {
        WriteFile(target, "not a settings file\n");
    }
    ASSERT_TRUE(QDir().mkpath(FolderOf(user)));
    ASSERT_TRUE(QFile::link(target, user.SettingsFile()));

    ASSERT_TRUE(Save(kFilled));

    EXPECT_FALSE(QFileInfo(user.SettingsFile()).isSymLink());
    EXPECT_EQ(Restore(), kFilled);
    if (targetExists) {
        EXPECT_EQ(ReadFile(target), QByteArray("not a settings file\n"));
    } else {
        EXPECT_FALSE(QFileInfo::exists(target));
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, LinkedFileTest, ::testing::Values(true, false),
                         [](const auto& info) {
                             return std::string(info.param ? "ToAFile" : "Dangling");
                         });

class FileModeTest : public ::testing::TestWithParam<mode_t> {};

TEST_P(FileModeTest, ASaveKeepsTheMode) {
    TemporaryUser user;
    WriteFile(user.SettingsFile(), "[General]\nE_LatD=old\n");
    ASSERT_EQ(::chmod(QFile::encodeName(user.SettingsFile()).constData(), GetParam()), 0);

    ASSERT_TRUE(Save(kFilled));

    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(user.SettingsFile()).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, GetParam());
    EXPECT_EQ(Restore(), kFilled);
}

INSTANTIATE_TEST_SUITE_P(Modes, FileModeTest, ::testing::Values(0444, 0600, 0640, 0664),
                         [](const auto& info) { return "Mode" + std::to_string(info.param); });

TEST(IniSettingsStore, ASaveRemovesWhatAnUnfinishedSaveLeftBehind) {
    TemporaryUser user;
    const QString folder = FolderOf(user);
    const QString outside = user.Home() + QStringLiteral("/outside.txt");
    WriteFile(outside, "kept");
    WriteFile(user.SettingsFile(), "[General]\nE_LatD=old\n");
    WriteFile(folder + QStringLiteral("/Tembrel.conf.Ab12Cd"), "[General]\nE_LatD=complete\n");
    WriteFile(folder + QStringLiteral("/Tembrel.conf.x9.Qw3rTy"), "[Gene");
    ASSERT_TRUE(QFile::link(outside, folder + QStringLiteral("/Tembrel.conf.lnk")));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/Tembrel.conf.d")));
    WriteFile(folder + QStringLiteral("/Other.conf"), "other");

    ASSERT_TRUE(Save(kFilled));

    EXPECT_EQ(FolderEntries(folder),
              (QStringList{QStringLiteral("Other.conf"), QStringLiteral("Tembrel.conf"),
                           QStringLiteral("Tembrel.conf.d")}));
    EXPECT_EQ(ReadFile(outside), QByteArray("kept"));
    EXPECT_EQ(Restore(), kFilled);
}

TEST(IniSettingsStore, ASaveKeepsOnlyTheEightTexts) {
    TemporaryUser user;
    WriteFile(user.SettingsFile(), "[General]\nE_LatD=old\nUnknown=1\n[Section]\nKey=value\n");
    ASSERT_TRUE(Save(kOther));
    const QString copy = user.Home() + QStringLiteral("/copy.conf");
    ASSERT_TRUE(QFile::copy(user.SettingsFile(), copy));
    QStringList expected;
    for (const char* name : EditValueNames) {
        expected << QString::fromLatin1(name);
    }
    expected.sort();
    QStringList keys = QSettings(copy, QSettings::IniFormat).allKeys();
    keys.sort();
    EXPECT_EQ(keys, expected);
}

// Something in the way of the store: whatever is there stays as it was, and
// the store gives empty texts and saves nothing.
class ObstacleTest : public ::testing::TestWithParam<bool> {};

TEST_P(ObstacleTest, NothingIsSavedAndTheObstacleStays) {
    const bool fileForFolder = GetParam();
    TemporaryUser user;
    const QString obstacle =
        fileForFolder ? FolderOf(user) : user.SettingsFile() + QStringLiteral("/inside");
    WriteFile(obstacle, "in the way");

    EXPECT_EQ(Restore(), kEmpty);
    EXPECT_FALSE(Save(kFilled));
    EXPECT_EQ(ReadFile(obstacle), QByteArray("in the way"));
    if (!fileForFolder) {
        EXPECT_EQ(FolderEntries(FolderOf(user)), QStringList{QStringLiteral("Tembrel.conf")});
    }
}

INSTANTIATE_TEST_SUITE_P(Obstacles, ObstacleTest, ::testing::Values(true, false),
                         [](const auto& info) {
                             return std::string(info.param ? "FileForFolder" : "FolderForFile");
                         });

// A settings file of `keys` other keys (about 12 bytes each) with the eight
// texts of kOther after them.
QByteArray LargeFile(int keys) {
    QByteArray file = "[General]\n";
    file.reserve(keys * 12 + 200);
    for (int i = 0; i < keys; ++i) {
        file += "Key" + QByteArray::number(i) + "=v\n";
    }
    for (std::size_t i = 0; i < kOther.size(); ++i) {
        file += QByteArray(EditValueNames[i]) + '=' + QByteArray::fromStdString(kOther[i]) + '\n';
    }
    return file;
}

TEST(IniSettingsStore, AFileOf200000KeysIsRestoredAndShrinksAtTheNextSave) {
    TemporaryUser user;
    const QByteArray file = LargeFile(200000);
    ASSERT_GT(file.size(), 2000000);
    WriteFile(user.SettingsFile(), file);

    EXPECT_EQ(Restore(), kOther);
    ASSERT_TRUE(Save(kFilled));
    EXPECT_LT(QFileInfo(user.SettingsFile()).size(), 200);
    EXPECT_EQ(Restore(), kFilled);
}

TEST(IniSettingsStore, AFileAboveTheSizeLimitIsNotRead) {
    TemporaryUser user;
    const QByteArray file = LargeFile(500000);
    ASSERT_GT(file.size(), MaxSettingsFileBytes);
    WriteFile(user.SettingsFile(), file);
    EXPECT_EQ(Restore(), kEmpty);
}

TEST(IniSettingsStore, AFifoIsNeitherReadNorWaitedFor) {
    TemporaryUser user;
    ASSERT_TRUE(QDir().mkpath(FolderOf(user)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(user.SettingsFile()).constData(), 0600), 0);
    EXPECT_EQ(Restore(), kEmpty);
    ASSERT_TRUE(Save(kFilled));
    EXPECT_EQ(Restore(), kFilled);
}

} // namespace
} // namespace tembrel
