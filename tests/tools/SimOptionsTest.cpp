// tembrel-sim's command line: times, actions, grid files, options, the view
// file read back from disk, and the output as a terminal shows it.
#include "SimOptions.h"
#include "PrintableText.h"
#include "SimRunner.h"
#include "ViewReadback.h"

#include <gtest/gtest.h>

#include "ScratchDirectory.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace tembrel {
namespace {

using test::ScratchDirectory;
using namespace std::string_literals;

struct SecondsCase {
    const char* text;
    VirtualClock::Milliseconds milliseconds; // -1: refused
};

void PrintTo(const SecondsCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class Seconds : public ::testing::TestWithParam<SecondsCase> {};

TEST_P(Seconds, Parse) {
    const SecondsCase& c = GetParam();
    if (c.milliseconds >= 0) {
        EXPECT_EQ(ParseSeconds(c.text), c.milliseconds);
    } else {
        EXPECT_THROW(ParseSeconds(c.text), UsageError);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Seconds,
    ::testing::Values(SecondsCase{"0", 0}, SecondsCase{"12", 12000}, SecondsCase{"0.5", 500},
                      SecondsCase{"7.125", 7125}, SecondsCase{"7.05", 7050},
                      SecondsCase{"100000", 100000000},
                      SecondsCase{"999999999999", 999999999999000}, SecondsCase{"", -1},
                      SecondsCase{"-1", -1}, SecondsCase{"1.", -1}, SecondsCase{".5", -1},
                      SecondsCase{"1.2345", -1}, SecondsCase{"1e3", -1}, SecondsCase{" 1", -1},
                      SecondsCase{"1000000000000", -1}, SecondsCase{"1,5", -1}));

struct FormatCase {
    VirtualClock::Milliseconds milliseconds;
    const char* text;
};

void PrintTo(const FormatCase& c, std::ostream* out) {
    *out << c.milliseconds;
}

class SecondsText : public ::testing::TestWithParam<FormatCase> {};

TEST_P(SecondsText, Format) {
    EXPECT_EQ(FormatSeconds(GetParam().milliseconds), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, SecondsText,
                         ::testing::Values(FormatCase{0, "0"}, FormatCase{70000, "70"},
                                           FormatCase{500, "0.5"}, FormatCase{1250, "1.25"},
                                           FormatCase{7125, "7.125"}, FormatCase{10005, "10.005"},
                                           FormatCase{10050, "10.05"}));

TEST(SimAction, ParsesEveryAction) {
    using K = SimAction::Kind;
    EXPECT_EQ(ParseAction("0:start"), (SimAction{0, K::Start, Page::TS_Area, ""}));
    EXPECT_EQ(ParseAction("2.5:pause"), (SimAction{2500, K::Pause, Page::TS_Area, ""}));
    EXPECT_EQ(ParseAction("3:stop"), (SimAction{3000, K::Stop, Page::TS_Area, ""}));
    EXPECT_EQ(ParseAction("3:stop-no"), (SimAction{3000, K::StopNo, Page::TS_Area, ""}));
    EXPECT_EQ(ParseAction("4:tab=areas"), (SimAction{4000, K::Tab, Page::TS_MAreas, ""}));
    EXPECT_EQ(ParseAction("4:tab=points"), (SimAction{4000, K::Tab, Page::TS_Points, ""}));
    EXPECT_EQ(ParseAction("4:tab=area"), (SimAction{4000, K::Tab, Page::TS_Area, ""}));
    // The text after "refresh=" is kept as it is, colons and blanks included.
    EXPECT_EQ(ParseAction("5:refresh= 1:2 "),
              (SimAction{5000, K::Refresh, Page::TS_Area, " 1:2 "}));
    EXPECT_EQ(ParseAction("5:refresh="), (SimAction{5000, K::Refresh, Page::TS_Area, ""}));
}

TEST(SimAction, RefusesWhatIsNotAnAction) {
    for (const char* text : {"start", "5:", "5:begin", "5:Start", "5:tab=Area", "5:tab=", "x:start",
                             "5:stop-yes", "5:refresh"}) {
        EXPECT_THROW(ParseAction(text), UsageError) << text;
    }
}

TEST(SimOptions, DefaultsAndEdits) {
    const SimOptions none = ParseSimOptions({});
    EXPECT_EQ(none.tab, Page::TS_Area);
    EXPECT_EQ(none.decimalSeparator, '.');
    EXPECT_EQ(none.until, 100000000);
    EXPECT_EQ(none.actions, (std::vector<SimAction>{SimAction{}}));
    EXPECT_EQ(none.edits, (std::array<std::string, 8>{}));
    EXPECT_FALSE(none.gridFile);
    EXPECT_FALSE(none.memoFile);

    const SimOptions some = ParseSimOptions({"--lat",
                                             " 48.86",
                                             "--lon",
                                             "2.2877",
                                             "--width",
                                             "1",
                                             "--height",
                                             "0.4",
                                             "--snap-width",
                                             "0.3",
                                             "--snap-height",
                                             "0.2",
                                             "--altitude",
                                             "250",
                                             "--refresh",
                                             "",
                                             "--tab",
                                             "points",
                                             "--decimal-separator",
                                             ",",
                                             "--until",
                                             "70",
                                             "--dir",
                                             "out",
                                             "--grid",
                                             "g.txt",
                                             "--memo",
                                             "m.txt",
                                             "--do",
                                             "1:start",
                                             "--do",
                                             "1:pause"});
    const std::array<std::string, 8> edits = {" 48.86", "2.2877", "1",   "0.4",
                                              "0.3",    "0.2",    "250", ""};
    EXPECT_EQ(some.edits, edits); // in the order of InputEdit
    EXPECT_EQ(some.tab, Page::TS_Points);
    EXPECT_EQ(some.decimalSeparator, ',');
    EXPECT_EQ(some.until, 70000);
    EXPECT_EQ(some.directory, std::filesystem::path("out"));
    EXPECT_EQ(some.gridFile, std::filesystem::path("g.txt"));
    EXPECT_EQ(some.memoFile, std::filesystem::path("m.txt"));
    EXPECT_EQ(some.actions.size(), 2u);
    EXPECT_EQ(some.actions[1].kind, SimAction::Kind::Pause);
}

TEST(SimOptions, RefusesBadCommandLines) {
    const std::vector<std::vector<std::string>> bad = {
        {"--lat"},
        {"--latitude", "1"},
        {"lat", "1"},
        {"--tab", "Areas"},
        {"--decimal-separator", ""},
        {"--decimal-separator", ".,"},
        {"--until", "-5"},
        {"--until", "1000000.001"},
        {"--until", "999999999999"},
        {"--do", "10:start", "--do", "9:stop"},
        {"--do", "start"},
    };
    for (const auto& args : bad) {
        EXPECT_THROW(ParseSimOptions(args), UsageError) << args[0];
    }
}

TEST(SimOptions, UntilGoesUpToTheLongestRun) {
    EXPECT_EQ(ParseSimOptions({"--until", "1000000"}).until, MaxUntil);
    EXPECT_EQ(MaxUntil, 1000000000);
}

TEST(SimOptions, ActionsAtTheSameTimeKeepTheirOrder) {
    const SimOptions options = ParseSimOptions({"--do", "5:stop", "--do", "5:start"});
    ASSERT_EQ(options.actions.size(), 2u);
    EXPECT_EQ(options.actions[0].kind, SimAction::Kind::Stop);
    EXPECT_EQ(options.actions[1].kind, SimAction::Kind::Start);
}

TEST(SimGrid, RowsAndCells) {
    const std::vector<GridRow> rows = ParseGrid("1\t2\t3\t4\r\n\t b\n5\n\n");
    const std::vector<GridRow> expected = {GridRow{"1", "2", "3", "4"}, GridRow{"", " b", "", ""},
                                           GridRow{"5", "", "", ""}, GridRow{}};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(ParseGrid(""), std::vector<GridRow>{});
    EXPECT_EQ(ExampleGrid().size(), 2u);
    EXPECT_EQ(ExampleGrid()[1], (GridRow{"31.55125", "29.79862", "1.2", "9.4"}));
}

TEST(SimGrid, RefusesFiveCellsAndFiftyOneRows) {
    EXPECT_THROW(ParseGrid("1\t2\t3\t4\t5"), UsageError);
    std::string fifty;
    for (int i = 0; i < 50; ++i) {
        fifty += "1\t2\t3\t4\n";
    }
    EXPECT_EQ(ParseGrid(fifty).size(), 50u);
    EXPECT_THROW(ParseGrid(fifty + "1\t2\t3\t4"), UsageError);
}

TEST(ViewReadback, ElementText) {
    EXPECT_EQ(ElementText("<range>250</range>", "range"), "250");
    EXPECT_EQ(ElementText("<range></range>", "range"), "");
    EXPECT_EQ(ElementText("<range>250</rang>", "range"), "<range>250</rang>");
    EXPECT_EQ(ElementText("<latitude>1</latitude>", "range"), "<latitude>1</latitude>");
}

class ScratchFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("tembrel-sim-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path Write(const std::string& name, const std::string& content) {
        const auto path = dir_ / name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    std::filesystem::path dir_;
};

TEST_F(ScratchFile, ReadsLinesSixToEightOfTheFile) {
    const auto file = Write("v.kml", "1\r\n2\r\n3\r\n4\r\n5\r\n<longitude>-1.5</longitude>\r\n"
                                     "<latitude>2,25</latitude>\r\n<range>-5</range>\r\n9\r\n");
    EXPECT_EQ(ReadViewTexts(file), "-1.5 2,25 -5");
    const auto shortFile = Write("short.kml", "1\n2\n3\n4\n5\n<longitude>7</longitude>\n");
    EXPECT_EQ(ReadViewTexts(shortFile), "7 ? ?");
    EXPECT_EQ(ReadViewTexts(dir_ / "absent.kml"), "? ? ?");
}

TEST_F(ScratchFile, InputsComeFromTheFilesOrTheExamples) {
    SimOptions options;
    SimInputs inputs = LoadSimInputs(options);
    EXPECT_EQ(inputs.grid, ExampleGrid());
    EXPECT_EQ(inputs.memoText, "30.102, 31.215\n-25.365, 16.2145");
    options.gridFile = Write("g.txt", "1\t2\t3\t4\n");
    options.memoFile = Write("m.txt", "5, 6\r\n");
    inputs = LoadSimInputs(options);
    EXPECT_EQ(inputs.grid, (std::vector<GridRow>{GridRow{"1", "2", "3", "4"}}));
    EXPECT_EQ(inputs.memoText, "5, 6\r\n");
    options.memoFile = dir_ / "absent.txt";
    EXPECT_THROW(LoadSimInputs(options), UsageError);
}

TEST_F(ScratchFile, FilesAreReadAsTheWindowReadsThem) {
    // A byte order mark is no part of the first cell or line (the imports
    // drop it), and CR alone ends a line as in the window's memo.
    SimOptions options;
    options.gridFile = Write("g.txt", "\xEF\xBB\xBF"
                                      "1\t2\t3\t4\r5\t6\t7\t8\r");
    options.memoFile = Write("m.txt", "\xEF\xBB\xBF"
                                      "5, 6\r7, 8\r");
    const SimInputs inputs = LoadSimInputs(options);
    EXPECT_EQ(inputs.grid,
              (std::vector<GridRow>{GridRow{"1", "2", "3", "4"}, GridRow{"5", "6", "7", "8"}}));
    EXPECT_EQ(inputs.memoText, "5, 6\r7, 8\r");
    options.tab = Page::TS_Points;
    options.edits[static_cast<std::size_t>(InputEdit::E_VA)] = "250";
    options.edits[static_cast<std::size_t>(InputEdit::E_VR)] = "10";
    options.directory = dir_;
    options.actions = {SimAction{}}; // start at 0
    const std::vector<std::string> lines = RunSimulation(options, inputs);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[1], "10 view 5 6 250");
    EXPECT_EQ(lines[3], "20 view 7 8 250");
}

TEST_F(ScratchFile, ErrorTextsKeepWhatFollowsANul) {
    // The grid cell's whole text, NUL and all, as the conversion quoted it.
    SimOptions options = ParseSimOptions({"--tab", "areas", "--dir", dir_.string()});
    SimInputs inputs;
    inputs.grid = {GridRow{"1\0x"s, "2", "3", "4"}};
    const std::vector<std::string> lines = RunSimulation(options, inputs);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "0 errorbox '1\0x' is not a valid floating point value."s);
    try {
        ParseGrid("1\t2\t3\t4\t5\0z"s);
        FAIL() << "parsed";
    } catch (const UsageError& e) {
        EXPECT_EQ(e.Message(), "a grid row has more than four cells: '1\t2\t3\t4\t5\0z'"s);
    }
}

TEST(SimPaths, Utf8BothWays) {
    const std::string name = "\xD0\x9F\xD1\x83\xD1\x82\xD1\x8C/\xE8\xB7\xAF"; // "Путь/路"
    EXPECT_EQ(Utf8Text(Utf8Path(name)), name);
    EXPECT_EQ(Utf8Text(Utf8Path(name).filename()), "\xE8\xB7\xAF");
}

struct PrintableCase {
    const char* name;
    std::string text;
    std::string printed;
};

void PrintTo(const PrintableCase& c, std::ostream* out) {
    *out << c.name;
}

class Printable : public ::testing::TestWithParam<PrintableCase> {};

TEST_P(Printable, Text) {
    EXPECT_EQ(PrintableText(GetParam().text), GetParam().printed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Printable,
    ::testing::Values(
        // Valid UTF-8 and TAB pass unchanged: the output of every valid input
        // stays as it was.
        PrintableCase{"ascii_and_tab", "0 errorbox '1\t2' x.", "0 errorbox '1\t2' x."},
        PrintableCase{"utf8_of_every_length", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8C\x8D\xEF\xBF\xBD",
                      "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8C\x8D\xEF\xBF\xBD"},
        PrintableCase{"nul_esc_cr_del", "a\0b\x1B[2J\r\x7F"s,
                      "a\xE2\x90\x80"
                      "b\xE2\x90\x9B[2J\xE2\x90\x8D\xE2\x90\xA1"},
        // One U+FFFD for each broken start, as Qt's decoder gives.
        PrintableCase{"stray_bytes", "a\xFF\x80z", "a\xEF\xBF\xBD\xEF\xBF\xBDz"},
        PrintableCase{"cut_short", "\xE2\x82(\xF0\x9F\x8C", "\xEF\xBF\xBD(\xEF\xBF\xBD"},
        PrintableCase{
            "overlong_and_surrogate", "\xC0\xAF\xE0\x80\xAF\xED\xA0\x80",
            "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"
            "\xEF\xBF\xBD"},
        PrintableCase{"beyond_u10ffff", "\xF4\x90\x80\x80",
                      "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}),
    [](const auto& info) { return std::string(info.param.name); });

// Whether text is UTF-8, by decoding each code point and checking it was
// written in its shortest form, outside the surrogates and below U+110000.
bool IsUtf8(const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
        const unsigned lead = byte(at);
        const std::size_t length = lead < 0x80       ? 1
                                   : lead >> 5 == 6  ? 2
                                   : lead >> 4 == 14 ? 3
                                   : lead >> 3 == 30 ? 4
                                                     : 0;
        if (length == 0 || at + length > text.size()) {
            return false;
        }
        unsigned code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i) {
            if (byte(at + i) >> 6 != 2) {
                return false;
            }
            code = code << 6 | (byte(at + i) & 0x3F);
        }
        const unsigned shortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < shortest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            return false;
        }
        at += length;
    }
    return true;
}

TEST(Printable, AnyBytesPrintAsCleanUtf8) {
    // What is printed is UTF-8, kept when printed again, and holds no
    // control but TAB.
    std::mt19937 random(19);
    for (int round = 0; round < 20000; ++round) {
        std::string text(random() % 12, '\0');
        for (char& c : text) {
            // Mostly bytes around UTF-8's leads and continuations.
            const unsigned pick = random() % 4;
            c = static_cast<char>(pick == 0 ? random() % 0x80 : 0x80 + random() % 0x80);
        }
        const std::string printed = PrintableText(text);
        ASSERT_TRUE(IsUtf8(printed)) << ::testing::PrintToString(text);
        ASSERT_EQ(PrintableText(printed), printed) << ::testing::PrintToString(text);
        const bool controls = std::any_of(text.begin(), text.end(), [](char c) {
            return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F;
        });
        if (IsUtf8(text) && !controls) {
            ASSERT_EQ(printed, text); // nothing to replace: printed as it is
        }
        for (const char c : printed) {
            ASSERT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\t')
                << ::testing::PrintToString(text);
        }
    }
}

// The memo and grid files are held to the window's limits, and read no
// further than the size bound.
struct InputLimitCase {
    const char* name;
    bool memo; // else the grid
    std::function<std::string()> content;
    const char* path; // read instead of content when set
    bool accepted;
};

void PrintTo(const InputLimitCase& c, std::ostream* out) {
    *out << c.name;
}

std::string Lines(std::size_t count, const std::string& line) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += line + "\n";
    }
    return text;
}

class InputLimits : public ::testing::TestWithParam<InputLimitCase> {
protected:
    void SetUp() override { file_ = dir_.Path() / "input.txt"; }
    ScratchDirectory dir_;
    std::filesystem::path file_;
};

TEST_P(InputLimits, AreTheWindowsOwn) {
    const InputLimitCase& c = GetParam();
    std::filesystem::path path = c.path ? std::filesystem::path(c.path) : file_;
    if (c.path && !std::filesystem::exists(path)) {
        GTEST_SKIP() << "no " << c.path;
    }
    if (!c.path) {
        std::ofstream(file_, std::ios::binary) << c.content();
    }
    SimOptions options;
    (c.memo ? options.memoFile : options.gridFile) = path;
    if (c.accepted) {
        const SimInputs inputs = LoadSimInputs(options);
        if (c.memo) {
            EXPECT_EQ(inputs.memoText, c.content());
        }
    } else {
        EXPECT_THROW(LoadSimInputs(options), UsageError);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InputLimits,
    ::testing::Values(InputLimitCase{"MemoOfTheMostLines", true,
                                     [] { return Lines(32767, "1, 2"); }, nullptr, true},
                      InputLimitCase{"MemoOfOneLineMore", true, [] { return Lines(32768, "1, 2"); },
                                     nullptr, false},
                      InputLimitCase{"MemoOfTheLargestSize", true,
                                     [] { return std::string(4 * 1024 * 1024, 'x'); }, nullptr,
                                     true},
                      InputLimitCase{"MemoOfOneByteMore", true,
                                     [] { return std::string(4 * 1024 * 1024 + 1, 'x'); }, nullptr,
                                     false},
                      InputLimitCase{"MemoWithoutEnd", true, nullptr, "/dev/zero", false},
                      InputLimitCase{"GridWithoutEnd", false, nullptr, "/dev/zero", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScratchFile, RunWritesIntoTheGivenFolderAndStopsWhenNothingIsPending) {
    SimOptions options = ParseSimOptions({"--tab", "points", "--altitude", "250", "--refresh", "10",
                                          "--dir", dir_.string(), "--do", "0:start", "--do",
                                          "5:tab=area", "--do", "5:tab=points"});
    const std::vector<std::string> lines = RunSimulation(options, LoadSimInputs(options));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "0 gauge 500000000", "10 view 30.1019992828369 31.2150001525879 250",
                         "10 gauge 1000000000", "20 view -25.3649997711182 16.2145004272461 250",
                         "20 box information The voyage has been ended.", "20 gauge 0"}));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "TembrelData.KML"));
}

TEST_F(ScratchFile, UntilCutsTheRunAndIncludesItsOwnMoment) {
    SimOptions options = ParseSimOptions({"--tab", "points", "--altitude", "250", "--refresh", "10",
                                          "--dir", dir_.string(), "--until", "10"});
    const std::vector<std::string> lines = RunSimulation(options, LoadSimInputs(options));
    EXPECT_EQ(lines, (std::vector<std::string>{"0 gauge 500000000",
                                               "10 view 30.1019992828369 31.2150001525879 250",
                                               "10 gauge 1000000000"}));
}

} // namespace
} // namespace tembrel
