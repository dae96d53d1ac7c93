#include "IniGeneralSection.h"

#include "QSettingsProbe.h"

#include <gtest/gtest.h>

#include <QSize>

#include <string>
#include <vector>

namespace tembrel {
namespace {

using test::Describe;
using test::QSettingsValue;
using test::SameVariant;

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// ---------------------------------------------------------------------------
// Which lines of a file make the [General] section, checked against QSettings.

struct DocumentCase {
    const char* name;
    QByteArray file;
    const char* key;
    QVariant expected; // invalid: the key is not in [General]
};

void PrintTo(const DocumentCase& c, std::ostream* os) {
    *os << c.name;
}

class IniDocumentTest : public ::testing::TestWithParam<DocumentCase> {};

TEST_P(IniDocumentTest, FindsWhatQSettingsFinds) {
    const DocumentCase& c = GetParam();
    const IniGeneralSection section = IniGeneralSection::Parse(c.file);
    const QString key = U(c.key);
    EXPECT_EQ(section.Contains(key), c.expected.isValid());
    const QVariant value = section.Value(key);
    EXPECT_TRUE(SameVariant(value, c.expected))
        << "read " << Describe(value) << ", expected " << Describe(c.expected);
    const QVariant qt = QSettingsValue(c.file, key);
    EXPECT_TRUE(SameVariant(value, qt))
        << "read " << Describe(value) << ", QSettings " << Describe(qt);
}

const std::vector<DocumentCase> kDocumentCases = {
    {"KeyBeforeAnyHeader", "E_LatD=1\n[Other]\nE_LonD=2\n", "E_LatD", U("1")},
    {"KeyOfAnotherSection", "E_LatD=1\n[Other]\nE_LonD=2\n", "E_LonD", QVariant()},
    {"LowerCaseHeader", "[general]\nA=x\n", "A", U("x")},
    {"BlanksInHeader", "[ General ]\nA=x\n", "A", U("x")},
    {"PercentGeneralIsAnotherSection", "[%General]\nA=x\n", "A", QVariant()},
    {"GeneralAgainAfterOther", "[General]\nA=1\n[Other]\nB=2\n[General]\nB=3\n", "B", U("3")},
    {"CommentLines", "; first\n[General]\n;A=no\nA=yes\n", "A", U("yes")},
    {"CommentAfterValue", "[General]\nA=x ; not part of it\n", "A", U("x")},
    {"SemicolonInQuotes", "[General]\nA=\"x ; y\"\n", "A", U("x ; y")},
    {"CrLf", "[General]\r\nA=x\r\nB=y\r\n", "B", U("y")},
    {"ByteOrderMark", "\xef\xbb\xbf[General]\nA=x\n", "A", U("x")},
    {"LastOfTwoWins", "[General]\nA=first\nA=second\n", "A", U("second")},
    {"BlanksAroundKey", "[General]\n  A  =  x\n", "A", U("x")},
    {"QuotedLineBreak", "[General]\nA=\"x\ny\"\nB=1\n", "A", U("x\ny")},
    {"EscapedLineBreak", "[General]\nA=x\\\ny\nB=1\n", "A", U("xy")},
    {"EscapedCrLf", "[General]\r\nA=x\\\r\ny\r\n", "A", U("xy")},
    {"LineWithoutEquals", "[General]\nnonsense\nA=x\n", "A", U("x")},
    {"HashIsNoComment", "[General]\n#A=x\n", "#A", U("x")},
    {"KeyIsCaseSensitive", "[General]\ne_latd=x\n", "E_LatD", QVariant()},
    {"EscapedKey", "[General]\nE%5FLatD=x\n", "E_LatD", U("x")},
    {"NoNewlineAtEnd", "[General]\nA=x", "A", U("x")},
};

INSTANTIATE_TEST_SUITE_P(Files, IniDocumentTest, ::testing::ValuesIn(kDocumentCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Writing back.

TEST(IniGeneralSectionWrite, EmptyFileGetsAGeneralSection) {
    IniGeneralSection section = IniGeneralSection::Parse("");
    section.SetString(U("E_LatD"), "30.5");
    section.SetString(U("E_LonD"), "");
    EXPECT_EQ(section.Serialize().toStdString(), "[General]\nE_LatD=30.5\nE_LonD=\n");
}

TEST(IniGeneralSectionWrite, KeepsOtherKeysAndSectionsAndReplacesInPlace) {
    const QByteArray file = "; Tembrel\n"
                            "[Window]\n"
                            "size=@Size(470 465)\n"
                            "[General]\n"
                            "E_VS=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n"
                            "Extra = \"  kept, as written \"\n"
                            "E_LatD=old\n";
    IniGeneralSection section = IniGeneralSection::Parse(file);
    section.SetString(U("E_LatD"), "new");
    section.SetString(U("E_VS"), "2,5");
    section.SetString(U("E_VR"), "10");
    const QByteArray written = section.Serialize();

    EXPECT_EQ(written.toStdString(), "[General]\n"
                                     "E_VS=\"2,5\"\n"
                                     "Extra= \"  kept, as written \"\n"
                                     "E_LatD=new\n"
                                     "E_VR=10\n"
                                     "\n"
                                     "[Window]\n"
                                     "size=@Size(470 465)\n");
    EXPECT_TRUE(SameVariant(QSettingsValue(written, U("E_VS")), U("2,5")));
    EXPECT_TRUE(SameVariant(QSettingsValue(written, U("Extra")), U("  kept, as written ")));
    EXPECT_TRUE(SameVariant(QSettingsValue(written, U("Window/size")), QSize(470, 465)));
}

// A value left open at the end of a file would swallow the lines written after
// it, so it is dropped rather than written back.
struct UnsafeCase {
    const char* name;
    QByteArray file;
};

void PrintTo(const UnsafeCase& c, std::ostream* os) {
    *os << c.name;
}

class IniUnsafeLineTest : public ::testing::TestWithParam<UnsafeCase> {};

TEST_P(IniUnsafeLineTest, DoesNotSwallowTheNewValues) {
    IniGeneralSection section = IniGeneralSection::Parse(GetParam().file);
    section.SetString(U("E_LatD"), "1");
    section.SetString(U("E_LonD"), "2");
    const QByteArray written = section.Serialize();
    EXPECT_TRUE(SameVariant(QSettingsValue(written, U("E_LatD")), U("1"))) << written.toStdString();
    EXPECT_TRUE(SameVariant(QSettingsValue(written, U("E_LonD")), U("2"))) << written.toStdString();
    EXPECT_TRUE(SameVariant(QSettingsValue(written, U("Kept")), U("k"))) << written.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Files, IniUnsafeLineTest,
                         ::testing::Values(UnsafeCase{"OpenQuote", "Kept=k\nA=\"open\nB=1"},
                                           UnsafeCase{"LoneBackslash", "Kept=k\nA=x\\"},
                                           UnsafeCase{"QuoteAfterEscapedQuote",
                                                      "Kept=k\nA=\\\"x\""}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tembrel
