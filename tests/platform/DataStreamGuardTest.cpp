#include "DataStreamGuard.h"

#include "QSettingsProbe.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QVariantList>

#include <string>
#include <vector>

namespace tembrel {
namespace {

using test::QSettingsValue;

// The QDataStream form of the number 5, as "@Variant(" and (with a null flag)
// as "@DateTime(" read it: harmless, so Qt itself can be asked what it makes
// of each value.
#define FIVE "\\0\\0\\0\\x2\\0\\0\\0\\x5"
#define FIVE_WITH_FLAG "\\0\\0\\0\\x2\\0\\0\\0\\0\\x5"

struct ValueCase {
    const char* name;
    QByteArray value; // the bytes after "E_VS="
    bool decoded;     // whether QSettings hands an element to QDataStream
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.name;
}

// Whether QSettings' reading holds the decoded 5, alone or in a list.
bool HoldsDecodedFive(const QVariant& value) {
    if (value.typeId() == QMetaType::Int) {
        return value.toInt() == 5;
    }
    if (value.typeId() == QMetaType::QVariantList) {
        for (const QVariant& element : value.toList()) {
            if (HoldsDecodedFive(element)) {
                return true;
            }
        }
    }
    return false;
}

class DataStreamValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(DataStreamValueTest, IsFoundExactlyWhenQSettingsDecodesIt) {
    const ValueCase& c = GetParam();
    EXPECT_EQ(HoldsDataStreamText(c.value), c.decoded);
    EXPECT_EQ(HoldsDecodedFive(
                  QSettingsValue("[General]\nE_VS=" + c.value + "\n", QStringLiteral("E_VS"))),
              c.decoded);
}

const std::vector<ValueCase> kValueCases = {
    {"Plain", "@Variant(" FIVE ")", true},
    {"DateTime", "@DateTime(" FIVE_WITH_FLAG ")", true},
    {"LeadingBlanks", " \t @Variant(" FIVE ")", true},
    {"Quoted", "\"@Variant(" FIVE ")\"", true},
    {"EmptyQuotesFirst", "\"\"@Variant(" FIVE ")", true},
    {"QuotedPieceThenMore", "\"@Var\"iant(" FIVE ")", true},
    {"HexEscapedAt", "\\x40Variant(" FIVE ")", true},
    {"HexEscapeKeepsSixteenBits", "\\x10040Variant(" FIVE ")", true},
    {"OctalEscapedAt", "\\100Variant(" FIVE ")", true},
    {"EscapedLetter", "@\\126ariant(" FIVE ")", true},
    {"EscapedLineBreak", "@Var\\\niant(" FIVE ")", true},
    {"LaterListElement", "x, @Variant(" FIVE ")", true},
    {"QuotedListElementThenMore", "\"a, b\", \"@Variant(" FIVE ")\", c", true},
    {"ByteOrderMarkIsDropped", "\xef\xbb\xbf@Variant(" FIVE ")", true},
    {"CutUtf8WaitsBehindEscapes", "@Var\xe2\\x69\\x61\\x6e\\x74\\x28" FIVE "\\x29, x", true},
    {"DoubledAt", "@@Variant(" FIVE ")", false},
    {"AtInTheMiddle", "a@Variant(" FIVE ")", false},
    {"EscapedBackslashFirst", "\\\\@Variant(" FIVE ")", false},
    {"CutUtf8BeforeTheAt", "\xe2@Variant(" FIVE ")", false},
    {"ByteOrderMarkInALaterElement", "x,\xef\xbb\xbf@Variant(" FIVE ")", false},
    {"OtherAtForms", "@ByteArray(5), @Rect(1 2 3 4), @Invalid(), @x", false},
    {"NoParenthesis", "@Variant", false},
};

INSTANTIATE_TEST_SUITE_P(Values, DataStreamValueTest, ::testing::ValuesIn(kValueCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Which values of a file are replaced: those of the top level only, which is
// all QSettings parses when asked for a key without a '/'.
struct FileCase {
    const char* name;
    QByteArray file;
    QByteArray checked;
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

class DataStreamReplaceTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(DataStreamReplaceTest, ReplacesTopLevelValues) {
    EXPECT_EQ(WithoutDataStreamValues(GetParam().file), GetParam().checked);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DataStreamReplaceTest,
    ::testing::Values(
        FileCase{"NothingToReplace", "[General]\nE_VS=@@Variant(1)\n",
                 "[General]\nE_VS=@@Variant(1)\n"},
        FileCase{"BeforeAnySectionAndInGeneral",
                 "\xef\xbb\xbf"
                 "a=@Variant(1)\n[general]\nb = @DateTime(2) ; c\nd=1\n",
                 "\xef\xbb\xbf"
                 "a=@Rect(0 0 0 0)\n[general]\nb =@Rect(0 0 0 0); c\nd=1\n"},
        FileCase{
            "OtherSectionsStay",
            "[Other]\na=@Variant(1)\n[%General]\nb=@Variant(2)\n[ General ]\nc=@Variant(3)\n",
            "[Other]\na=@Variant(1)\n[%General]\nb=@Variant(2)\n[ General ]\nc=@Rect(0 0 0 0)\n"},
        FileCase{"QuotedLineBreakAndComment",
                 ";x=@Variant(0)\nk=\"a\n@b\", @Variant(1)\r\n\"q=r\"=@Variant(2)",
                 ";x=@Variant(0)\nk=@Rect(0 0 0 0)\r\n\"q=r\"=@Rect(0 0 0 0)"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tembrel
