#include "IniEscaping.h"

#include "QSettingsProbe.h"

#include <gtest/gtest.h>

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QVariantList>

#include <string>
#include <vector>

namespace tembrel {
namespace {

using test::Describe;
using test::QSettingsFileWith;
using test::QSettingsValue;
using test::SameVariant;

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// ---------------------------------------------------------------------------
// Reading: each raw value has a known meaning, and Qt's QSettings must agree.

struct ParseCase {
    const char* name;
    QByteArray raw;
    QVariant expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

class ParseIniValueTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseIniValueTest, GivesTheValueQSettingsGives) {
    const ParseCase& c = GetParam();
    const QVariant parsed = ParseIniValue(c.raw);
    EXPECT_TRUE(SameVariant(parsed, c.expected))
        << "parsed " << Describe(parsed) << ", expected " << Describe(c.expected);

    const QVariant qt = QSettingsValue("[General]\nE_VS=" + c.raw + "\n", QStringLiteral("E_VS"));
    EXPECT_TRUE(SameVariant(parsed, qt))
        << "parsed " << Describe(parsed) << ", QSettings read " << Describe(qt);
}

QString WithNul(const char* before, const char* after) {
    return U(before) + QChar(u'\0') + U(after);
}

const std::vector<ParseCase> kParseCases = {
    {"Plain", "plain", U("plain")},
    {"Empty", "", U("")},
    {"DecimalNumberStaysText", "1.5", U("1.5")},
    {"OuterBlanksDropped", "   lead and trail  ", U("lead and trail")},
    {"QuotedBlanksKept", "\"  quoted blanks  \"", U("  quoted blanks  ")},
    {"QuotedComma", "\"30,5\"", U("30,5")},
    {"CommaMakesList", "a, b", QStringList{U("a"), U("b")}},
    {"LoneCommaIsListOfTwoEmpty", ",", QStringList{U(""), U("")}},
    {"QuotesJoinPieces", "a\"b\"c\"d\"", U("abcd")},
    {"EscapedQuote", "\"a\\\"b\"", U("a\"b")},
    {"EscapedBackslash", "back\\\\slash", U("back\\slash")},
    {"NamedEscapes", "tab\\there\\nnext", U("tab\there\nnext")},
    {"HexEscapes", "\\x41\\x00e9z", U("A\xc3\xa9z")},
    {"OctalEscapes", "\\101\\0", WithNul("A", "")},
    {"Utf8", "caf\xc3\xa9 \xe6\x97\xa5", U("caf\xc3\xa9 \xe6\x97\xa5")},
    {"EscapedLineEndContinues", "a\\\n  b", U("a  b")},
    {"EscapedTabKeptAtEnd", "x  \\t ", U("x  \t")},
    {"LoneBackslashAtEndKeepsBlanks", "trailing  \\", U("trailing  ")},
    {"HexWithoutDigitsIsNothing", "a\\xq", U("aq")},
    {"UnknownEscapeIsDropped", "a\\qb", U("ab")},
    {"DoubledAtIsText", "@@at", U("@at")},
    {"UnknownAtFormIsText", "@Foo(x)", U("@Foo(x)")},
    {"AtFormWithWrongArgumentsIsText", "@Rect(1 2)", U("@Rect(1 2)")},
    {"Invalid", "@Invalid()", QVariant()},
    {"ByteArray", "@ByteArray(xy)", QByteArray("xy")},
    {"EmptyByteArray", "@ByteArray()", QByteArray("")},
    {"StringForm", "@String(abc)", U("abc")},
    {"VariantInt", "@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)", QVariant(5)},
    {"EmptyVariantIsInvalid", "@Variant()", QVariant()},
    {"Rect", "@Rect(1 2 3 4)", QRect(1, 2, 3, 4)},
    {"Size", "@Size(3 4)", QSize(3, 4)},
    {"Point", "@Point(5 6)", QPoint(5, 6)},
    {"ListDropsDoubledAt", "@@x, y", QStringList{U("@x"), U("y")}},
    {"ListWithAtFormIsVariantList", "@Invalid(), x", QVariantList{QVariant(), U("x")}},
    {"QuotedListItemsKeepBlanks", "\" a \" , b ", QStringList{U(" a "), U("b")}},
};

INSTANTIATE_TEST_SUITE_P(Values, ParseIniValueTest, ::testing::ValuesIn(kParseCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Writing: a text written by FormatIniString reads back exactly, with Qt's
// QSettings and with ParseIniValue, and is written as QSettings writes it.

struct FormatCase {
    const char* name;
    std::string text;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.name;
}

class FormatIniStringTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatIniStringTest, ReadsBackExactly) {
    const std::string& text = GetParam().text;
    const QString expected = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QByteArray written = FormatIniString(text);

    const QVariant ours = ParseIniValue(written);
    EXPECT_TRUE(SameVariant(ours, expected)) << written.toStdString() << " -> " << Describe(ours);

    const QVariant qt = QSettingsValue("[General]\nE_VS=" + written + "\n", QStringLiteral("E_VS"));
    EXPECT_TRUE(SameVariant(qt, expected)) << written.toStdString() << " -> " << Describe(qt);
}

// QSettings writes a text holding a NUL in another form (both read back), so
// the bytes are compared for the texts without one.
class FormatLikeQSettingsTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatLikeQSettingsTest, WritesWhatQSettingsWrites) {
    const std::string& text = GetParam().text;
    const QByteArray file = QSettingsFileWith(QStringLiteral("E_VS"), QString::fromStdString(text));
    const qsizetype start = file.indexOf("E_VS=") + 5;
    const QByteArray qtValue = file.mid(start, file.indexOf('\n', start) - start);
    EXPECT_EQ(FormatIniString(text).toStdString(), qtValue.toStdString());
}

const std::vector<FormatCase> kFormatCases = {
    {"Empty", ""},
    {"Plain", "plain"},
    {"LeadingBlanks", "  lead"},
    {"TrailingBlank", "trail "},
    {"OnlyBlanks", "   "},
    {"Comma", "30,5"},
    {"ListLike", "a, b"},
    {"EqualsSemicolonHash", "x=y;z#w"},
    {"QuotesAndBackslashes", "q\"uo\\te"},
    {"NonAscii", "caf\xc3\xa9 ,5 \xe2\x82\xac \xe6\x97\xa5\xe6\x9c\xac"},
    {"LeadingAt", "@at"},
    {"LookalikeAtForm", "@Invalid()"},
    {"DoubleAt", "@@"},
    {"ControlCharacters", "tab\there\nnew\r\x01\x1f\x7f"},
    {"HexDigitAfterControl", "\x01"
                             "1f"},
    {"NulInside", std::string("12\0"
                              "34",
                              5)},
    {"NulThenHexDigit", std::string("\0"
                                    "a",
                                    2)},
    {"Brackets", "[General]"},
    {"Percent", "%41"},
    {"Apostrophe", "'single' ?"},
    {"TrailingBackslash", "a\\"},
};

std::vector<FormatCase> WithoutNul(const std::vector<FormatCase>& cases) {
    std::vector<FormatCase> result;
    for (const FormatCase& c : cases) {
        if (c.text.find('\0') == std::string::npos) {
            result.push_back(c);
        }
    }
    return result;
}

INSTANTIATE_TEST_SUITE_P(Texts, FormatIniStringTest, ::testing::ValuesIn(kFormatCases),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Texts, FormatLikeQSettingsTest,
                         ::testing::ValuesIn(WithoutNul(kFormatCases)),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Keys.

struct KeyCase {
    const char* name;
    QByteArray raw;
    QString key;
    bool escapesBackToRaw;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
    *os << c.name;
}

class IniKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(IniKeyTest, UnescapesAndEscapes) {
    const KeyCase& c = GetParam();
    EXPECT_EQ(UnescapeIniKey(c.raw).toStdString(), c.key.toStdString());
    if (c.escapesBackToRaw) {
        EXPECT_EQ(EscapeIniKey(c.key).toStdString(), c.raw.toStdString());
    }
    // Whatever the escaping, QSettings finds the value under the same key.
    EXPECT_EQ(QSettingsValue("[General]\n" + c.raw + "=v\n", c.key).toString().toStdString(), "v");
}

const std::vector<KeyCase> kKeyCases = {
    {"Plain", "E_LatD", U("E_LatD"), true}, {"DashAndDot", "a-b.c", U("a-b.c"), true},
    {"Backslash", "a\\b", U("a/b"), true},  {"Blank", "a%20b", U("a b"), true},
    {"Latin1", "%E9", U("\xc3\xa9"), true}, {"Wide", "%U65E5", U("\xe6\x97\xa5"), true},
    {"BadHex", "%G1", U("%G1"), false},     {"ShortHex", "a%4", U("a%4"), false},
    {"PercentAtEnd", "a%", U("a%"), false},
};

INSTANTIATE_TEST_SUITE_P(Keys, IniKeyTest, ::testing::ValuesIn(kKeyCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tembrel
