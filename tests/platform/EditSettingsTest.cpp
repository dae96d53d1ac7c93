#include "EditSettings.h"

#include "FakeSettingsStore.h"
#include "QSettingsProbe.h"
#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace tembrel {
namespace {

using test::FakeSettingsStore;
using test::QSettingsValue;
using test::ReadFile;
using test::SameVariant;
using test::ScopedEnvironmentVariable;
using test::TemporaryUser;
using test::WriteFile;
using Type = SettingsStore::ValueType;
using Value = FakeSettingsStore::Value;

const EditTexts kEmpty{};
const EditTexts kFilled{"30.124555", "31.254447", "2.5", "0.54", "1", "0.8", "1200", "5"};

std::map<std::string, Value> AllStored(const EditTexts& texts) {
    std::map<std::string, Value> values;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        values[EditValueNames[i]] = FakeSettingsStore::Text(texts[i]);
    }
    return values;
}

// The first `count` texts of `texts`, the others empty.
EditTexts FirstOf(const EditTexts& texts, std::size_t count) {
    EditTexts result;
    for (std::size_t i = 0; i < count; ++i) {
        result[i] = texts[i];
    }
    return result;
}

// ---------------------------------------------------------------------------
// The restore's reading rules, on a store with the registry's behaviour.

struct RestoreCase {
    const char* name;
    FakeSettingsStore store;
    EditTexts expected;
};

void PrintTo(const RestoreCase& c, std::ostream* os) {
    *os << c.name;
}

FakeSettingsStore Store(std::map<std::string, Value> values) {
    FakeSettingsStore store;
    store.values = std::move(values);
    return store;
}

FakeSettingsStore With(FakeSettingsStore store, const std::string& name, Value value) {
    store.values[name] = std::move(value);
    return store;
}

FakeSettingsStore Without(FakeSettingsStore store, const std::string& name) {
    store.values.erase(name);
    return store;
}

EditTexts Replaced(EditTexts texts, std::size_t index, const std::string& text) {
    texts[index] = text;
    return texts;
}

std::vector<RestoreCase> RestoreCases() {
    const FakeSettingsStore filled = Store(AllStored(kFilled));
    FakeSettingsStore cannotOpen = filled;
    cannotOpen.openFails = true;
    FakeSettingsStore readFails = filled;
    readFails.readFailsFor = "E_VS";
    FakeSettingsStore queryThrows = filled;
    queryThrows.queryThrowsFor = "E_VEast";
    return {
        {"NothingStored", Store({}), kEmpty},
        {"AllStored", filled, kFilled},
        {"OneMissingIsEmptyAndTheRestGoesOn", Without(filled, "E_VE"), Replaced(kFilled, 2, "")},
        {"OtherTypeWithDataEndsTheRestore",
         With(filled, "E_VS", {Type::Other, std::string("\x05\0\0\0", 4)}), FirstOf(kFilled, 3)},
        {"OtherTypeFirstLeavesAllEmpty",
         With(filled, "E_LatD", {Type::Other, std::string("a\0b\0\0", 5)}), kEmpty},
        {"OtherTypeLastKeepsSeven", With(filled, "E_VR", {Type::Other, "1"}), FirstOf(kFilled, 7)},
        {"OtherTypeWithoutDataIsEmptyAndGoesOn", With(filled, "E_VS", {Type::Other, ""}),
         Replaced(kFilled, 3, "")},
        {"ReadFailureEndsTheRestore", readFails, FirstOf(kFilled, 3)},
        {"UnexpectedErrorEndsTheRestore", queryThrows, FirstOf(kFilled, 4)},
        {"ExpandStringIsNotExpanded",
         With(filled, "E_VA", {Type::ExpandString, std::string("%HOME%\\x\0", 9)}),
         Replaced(kFilled, 6, "%HOME%\\x")},
        {"DataEndsAtTheFirstNul",
         With(filled, "E_LonD", {Type::String, std::string("12\0 34\0", 7)}),
         Replaced(kFilled, 1, "12")},
        {"StringWithoutNul", With(filled, "E_VE", {Type::String, "7"}), Replaced(kFilled, 2, "7")},
        {"EmptyString", With(filled, "E_VE", FakeSettingsStore::Text("")),
         Replaced(kFilled, 2, "")},
        {"KeyCannotBeOpened", cannotOpen, kEmpty},
    };
}

class RestoreEditTextsTest : public ::testing::TestWithParam<RestoreCase> {};

TEST_P(RestoreEditTextsTest, RestoresByTheReadingRules) {
    FakeSettingsStore store = GetParam().store;
    EXPECT_EQ(RestoreEditTexts(store), GetParam().expected);
    // The key is opened first and closed last, also when the restore ended early.
    ASSERT_GE(store.log.size(), 2u);
    EXPECT_EQ(store.log.front(), "Open");
    EXPECT_EQ(store.log.back(), "Close");
}

INSTANTIATE_TEST_SUITE_P(Stores, RestoreEditTextsTest, ::testing::ValuesIn(RestoreCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RestoreEditTexts, ReadsTheValuesInTheFixedOrderAndStopsAtTheFailingOne) {
    FakeSettingsStore store = Store(AllStored(kFilled));
    store.values["E_VE"] = {Type::Other, "x"};
    RestoreEditTexts(store);
    const std::vector<std::string> expected = {"Open",         "Query E_LatD", "Read E_LatD",
                                               "Query E_LonD", "Read E_LonD",  "Query E_VE",
                                               "Read E_VE",    "Close"};
    EXPECT_EQ(store.log, expected);
}

// ---------------------------------------------------------------------------
// The save.

TEST(SaveEditTexts, WritesAllEightInOrderThenCloses) {
    FakeSettingsStore store;
    SaveEditTexts(store, kFilled);
    const std::vector<std::string> expected = {
        "Open",        "Set E_LatD",   "Set E_LonD", "Set E_VE", "Set E_VS",
        "Set E_VEast", "Set E_VSouth", "Set E_VA",   "Set E_VR", "Close"};
    EXPECT_EQ(store.log, expected);
    EXPECT_EQ(store.values, AllStored(kFilled));
}

TEST(SaveEditTexts, AFailedWriteEndsTheSaveAndTheOthersKeepTheirValues) {
    FakeSettingsStore store = Store(AllStored(kFilled));
    store.writeFailsFor = "E_VEast";
    const EditTexts typed{"1", "2", "3", "4", "5", "6", "7", "8"};
    SaveEditTexts(store, typed);

    EXPECT_EQ(store.log.back(), "Close");
    EXPECT_EQ(std::count(store.log.begin(), store.log.end(), "Set E_VSouth"), 0);
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const std::string expected = i < 4 ? typed[i] : kFilled[i];
        EXPECT_EQ(store.values[EditValueNames[i]].data, expected + '\0') << EditValueNames[i];
    }
}

TEST(SaveEditTexts, AStoreThatCannotBeOpenedSavesNothing) {
    FakeSettingsStore store = Store(AllStored(kFilled));
    store.openFails = true;
    SaveEditTexts(store, EditTexts{"1", "2", "3", "4", "5", "6", "7", "8"});
    EXPECT_EQ(store.values, AllStored(kFilled));
    // The first write fails and ends the save.
    const std::vector<std::string> expected = {"Open", "Set E_LatD", "Close"};
    EXPECT_EQ(store.log, expected);
}

// ---------------------------------------------------------------------------
// The user's real store, in a temporary configuration folder.

EditTexts RestoreFromUserStore() {
    return RestoreEditTexts(*CreateUserSettingsStore());
}

void SaveToUserStore(const EditTexts& texts) {
    SaveEditTexts(*CreateUserSettingsStore(), texts);
}

TEST(UserSettings, FirstStartGivesEmptyTextsAndCreatesTheStore) {
    TemporaryUser user;
    EXPECT_EQ(RestoreFromUserStore(), kEmpty);
    EXPECT_TRUE(QFileInfo(user.SettingsFile()).isFile());
    EXPECT_TRUE(ReadFile(user.SettingsFile()).isEmpty());
}

TEST(UserSettings, WithoutXdgConfigHomeTheStoreIsInDotConfig) {
    TemporaryUser user;
    const ScopedEnvironmentVariable unset("XDG_CONFIG_HOME", std::nullopt);
    SaveToUserStore(kFilled);
    EXPECT_TRUE(QFileInfo(user.Home() + QStringLiteral("/.config/Tembrel/Tembrel.conf")).isFile());
    EXPECT_FALSE(QFileInfo::exists(user.SettingsFile()));
    EXPECT_EQ(RestoreFromUserStore(), kFilled);
}

TEST(UserSettings, EmptyTextsAreSavedAsEightEmptyStrings) {
    TemporaryUser user;
    SaveToUserStore(kEmpty);
    const QByteArray file = ReadFile(user.SettingsFile());
    for (const char* name : EditValueNames) {
        EXPECT_TRUE(SameVariant(QSettingsValue(file, QString::fromLatin1(name)), QString()))
            << name;
    }
    EXPECT_EQ(RestoreFromUserStore(), kEmpty);
}

class TextRoundTripTest : public ::testing::TestWithParam<EditTexts> {};

TEST_P(TextRoundTripTest, SavedTextsComeBackUnchanged) {
    TemporaryUser user;
    SaveToUserStore(GetParam());
    EXPECT_EQ(RestoreFromUserStore(), GetParam());
}

// Files flow both ways between the store and Qt's own QSettings.
TEST_P(TextRoundTripTest, QSettingsReadsWhatTheStoreWrites) {
    TemporaryUser user;
    SaveToUserStore(GetParam());
    const QByteArray file = ReadFile(user.SettingsFile());
    for (std::size_t i = 0; i < GetParam().size(); ++i) {
        EXPECT_TRUE(SameVariant(QSettingsValue(file, QString::fromLatin1(EditValueNames[i])),
                                QString::fromStdString(GetParam()[i])))
            << EditValueNames[i];
    }
}

TEST_P(TextRoundTripTest, TheStoreReadsWhatQSettingsWrites) {
    TemporaryUser user;
    {
        QSettings settings(user.SettingsFile(), QSettings::IniFormat);
        for (std::size_t i = 0; i < GetParam().size(); ++i) {
            settings.setValue(QString::fromLatin1(EditValueNames[i]),
                              QString::fromStdString(GetParam()[i]));
        }
        settings.sync();
        ASSERT_EQ(settings.status(), QSettings::NoError);
    }
    EXPECT_EQ(RestoreFromUserStore(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextRoundTripTest,
    ::testing::Values(kFilled,
                      EditTexts{"  30.5", "-31,25 ", "abc", "1,5", "2;5", "x=y", "#10", "\"5\""},
                      EditTexts{"\xc3\xa9t\xc3\xa9", "\xe2\x82\xac 12", "\xd9\xa3\xd9\xa0",
                                "\xe6\x97\xa5", "back\\slash", "@Invalid()", "@@", "a, b, c"},
                      EditTexts{" ", "", "\t", "1e5", "$FF", "0x10", "+7", "[General]"}),
    [](const auto& info) { return "Set" + std::to_string(info.index); });

// A hand-written value of another type in the place of E_VS.
class NonStringValueTest : public ::testing::TestWithParam<const char*> {};

TEST_P(NonStringValueTest, EndsTheRestoreThereAndTheNextSaveWritesStrings) {
    TemporaryUser user;
    WriteFile(user.SettingsFile(), QByteArray("[General]\n"
                                              "E_LatD=30.124555\n"
                                              "E_LonD=31.254447\n"
                                              "E_VE=2.5\n"
                                              "E_VS=") +
                                       GetParam() +
                                       "\n"
                                       "E_VEast=1\nE_VSouth=0.8\nE_VA=1200\nE_VR=5\n");

    const EditTexts restored = RestoreFromUserStore();
    EXPECT_EQ(restored, FirstOf(kFilled, 3));

    SaveToUserStore(kFilled);
    const QByteArray file = ReadFile(user.SettingsFile());
    for (std::size_t i = 0; i < kFilled.size(); ++i) {
        EXPECT_TRUE(SameVariant(QSettingsValue(file, QString::fromLatin1(EditValueNames[i])),
                                QString::fromStdString(kFilled[i])))
            << EditValueNames[i];
    }
    EXPECT_EQ(RestoreFromUserStore(), kFilled);
}

INSTANTIATE_TEST_SUITE_P(Forms, NonStringValueTest,
                         ::testing::Values("@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)", "0, 54",
                                           "@ByteArray(0.54)", "@Rect(1 2 3 4)",
                                           "@Variant(\\0\\0\\0\\x6@\\x14\\0\\0\\0\\0\\0\\0)"));

} // namespace
} // namespace tembrel
