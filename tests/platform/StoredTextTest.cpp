#include "StoredText.h"

#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QRect>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

#include <optional>
#include <string>
#include <vector>

namespace tembrel {
namespace {

using test::WriteFile;

// One stored value and what a restore makes of it.
struct ValueCase {
    const char* name;
    QVariant value;
    std::optional<QString> text; // nullopt: ends the restore
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.name;
}

class StoredTextTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(StoredTextTest, TakesStringsAndStopsAtOtherTypesWithData) {
    EXPECT_EQ(StoredText(GetParam().value), GetParam().text);
}

const std::vector<ValueCase> kValueCases = {
    {"String", QStringLiteral(" 2,5 "), QStringLiteral(" 2,5 ")},
    {"EmptyString", QString(), QString()},
    {"StringEndsAtItsFirstNul", QStringLiteral("12") + QChar(u'\0') + QStringLiteral("34"),
     QStringLiteral("12")},
    {"Missing", QVariant(), QString()},
    {"EmptyList", QStringList(), QString()},
    {"EmptyByteArray", QByteArray(), QString()},
    {"Number", QVariant(5), std::nullopt},
    {"List", QStringList{QStringLiteral("0"), QStringLiteral("54")}, std::nullopt},
    {"VariantList", QVariantList{QVariant()}, std::nullopt},
    {"ByteArray", QByteArray("0.54"), std::nullopt},
    {"Rect", QRect(1, 2, 3, 4), std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Values, StoredTextTest, ::testing::ValuesIn(kValueCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The restore rule over whole INI files as QSettings reads them, E_VS being
// the value that varies.
struct RestoreCase {
    const char* name;
    QByteArray vs;        // the line for E_VS; empty: none
    std::size_t restored; // how many of the texts come back
    std::string vsText;   // what E_VS gives when restored
};

void PrintTo(const RestoreCase& c, std::ostream* os) {
    *os << c.name;
}

const EditTexts kFilled{"30.124555", "31.254447", "2.5", "0.54", "1", "0.8", "1200", "5"};

class RestoreEditTextsTest : public ::testing::TestWithParam<RestoreCase> {};

TEST_P(RestoreEditTextsTest, RestoresByTheRule) {
    const RestoreCase& c = GetParam();
    QByteArray file = "E_LatD=30.124555\n[General]\nE_LonD=31.254447\nE_VE=2.5\n";
    if (!c.vs.isEmpty()) {
        file += c.vs + '\n';
    }
    file +=
        "E_VEast=1\nE_VSouth=0.8\nE_VA=1200\nE_VR=5\nUnknown=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)"
        "\n[Other]\nE_VS=elsewhere\n";
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.conf"));
    WriteFile(path, file);

    EditTexts expected;
    for (std::size_t i = 0; i < c.restored; ++i) {
        expected[i] = i == 3 ? c.vsText : kFilled[i];
    }
    EXPECT_EQ(RestoreEditTexts(QSettings(path, QSettings::IniFormat)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RestoreEditTextsTest,
    ::testing::Values(RestoreCase{"AllStrings", "E_VS=0.54", 8, "0.54"},
                      RestoreCase{"MissingValueIsEmptyAndGoesOn", "", 8, ""},
                      RestoreCase{"NumberEndsTheRestore",
                                  "E_VS=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)", 3, ""},
                      RestoreCase{"ListEndsTheRestore", "E_VS=0, 54", 3, ""},
                      RestoreCase{"ByteArrayEndsTheRestore", "E_VS=@ByteArray(0.54)", 3, ""},
                      RestoreCase{"RectEndsTheRestore", "E_VS=@Rect(1 2 3 4)", 3, ""},
                      RestoreCase{"InvalidIsEmptyAndGoesOn", "E_VS=@Invalid()", 8, ""},
                      RestoreCase{"EmptyByteArrayIsEmptyAndGoesOn", "E_VS=@ByteArray()", 8, ""},
                      RestoreCase{"NulEndsTheText", "E_VS=0.5\\0x", 8, "0.5"},
                      RestoreCase{"QuotedCommaIsText", "E_VS=\"0,54\"", 8, "0,54"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tembrel
