#include "SimOptions.h"

#include "HeadlessWindow.h"

#include <cstddef>
#include <map>
#include <set>

namespace tembrel {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

const std::map<std::string_view, InputEdit>& EditOptions() {
    static const std::map<std::string_view, InputEdit> options = {
        {"--lat", InputEdit::E_LatD},         {"--lon", InputEdit::E_LonD},
        {"--width", InputEdit::E_VE},         {"--height", InputEdit::E_VS},
        {"--snap-width", InputEdit::E_VEast}, {"--snap-height", InputEdit::E_VSouth},
        {"--altitude", InputEdit::E_VA},      {"--refresh", InputEdit::E_VR},
    };
    return options;
}

const std::set<std::string_view>& OtherOptions() {
    static const std::set<std::string_view> options = {
        "--tab", "--grid", "--memo", "--decimal-separator", "--dir", "--until", "--do"};
    return options;
}

} // namespace

VirtualClock::Milliseconds ParseSeconds(std::string_view text) {
    // Twelve digits of seconds are far beyond any run and far from overflow.
    constexpr std::size_t MaxWholeDigits = 12;
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    auto allDigits = [](std::string_view digits) {
        for (char c : digits) {
            if (!IsDigit(c)) {
                return false;
            }
        }
        return true;
    };
    if (whole.empty() || whole.size() > MaxWholeDigits || !allDigits(whole) ||
        (point != std::string_view::npos && (fraction.empty() || fraction.size() > 3)) ||
        !allDigits(fraction)) {
        throw UsageError("'" + std::string(text) +
                         "' is not a time in seconds (up to three decimals)");
    }
    VirtualClock::Milliseconds milliseconds = 0;
    for (char c : whole) {
        milliseconds = milliseconds * 10 + (c - '0');
    }
    VirtualClock::Milliseconds scale = 100;
    milliseconds *= 1000;
    for (char c : fraction) {
        milliseconds += (c - '0') * scale;
        scale /= 10;
    }
    return milliseconds;
}

Page ParseTab(std::string_view text) {
    if (text == "area") {
        return Page::TS_Area;
    }
    if (text == "areas") {
        return Page::TS_MAreas;
    }
    if (text == "points") {
        return Page::TS_Points;
    }
    throw UsageError("'" + std::string(text) + "' is not a tab (area, areas or points)");
}

SimAction ParseAction(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        throw UsageError("'" + std::string(text) + "' is not SECONDS:ACTION");
    }
    SimAction action;
    action.at = ParseSeconds(text.substr(0, colon));
    const std::string_view what = text.substr(colon + 1);
    if (what == "start") {
        action.kind = SimAction::Kind::Start;
    } else if (what == "pause") {
        action.kind = SimAction::Kind::Pause;
    } else if (what == "stop") {
        action.kind = SimAction::Kind::Stop;
    } else if (what == "stop-no") {
        action.kind = SimAction::Kind::StopNo;
    } else if (what.starts_with("tab=")) {
        action.kind = SimAction::Kind::Tab;
        action.page = ParseTab(what.substr(4));
    } else if (what.starts_with("refresh=")) {
        action.kind = SimAction::Kind::Refresh;
        action.text = std::string(what.substr(8));
    } else {
        throw UsageError("'" + std::string(what) + "' is not an action");
    }
    return action;
}

std::string FormatSeconds(VirtualClock::Milliseconds time) {
    std::string text = std::to_string(time / 1000);
    const auto milliseconds = time % 1000;
    if (milliseconds != 0) {
        std::string fraction = std::to_string(milliseconds);
        fraction.insert(0, 3 - fraction.size(), '0');
        while (fraction.back() == '0') {
            fraction.pop_back();
        }
        text += "." + fraction;
    }
    return text;
}

std::vector<GridRow> ParseGrid(const std::string& text) {
    const std::vector<std::string> lines = HeadlessWindow::SplitLines(text);
    if (lines.size() > static_cast<std::size_t>(VoyageInputs::GridRowCount)) {
        throw UsageError("the grid has " + std::to_string(lines.size()) +
                         " rows; it holds at most 50");
    }
    std::vector<GridRow> rows;
    for (const std::string& line : lines) {
        GridRow row;
        std::size_t column = 0;
        std::size_t begin = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', begin);
            if (column == row.size()) {
                throw UsageError("a grid row has more than four cells: '" + line + "'");
            }
            row[column++] = line.substr(begin, tab == std::string::npos ? tab : tab - begin);
            if (tab == std::string::npos) {
                break;
            }
            begin = tab + 1;
        }
        rows.push_back(row);
    }
    return rows;
}

std::string CheckMemo(std::string text) {
    const std::size_t lines = HeadlessWindow::SplitLines(text).size();
    if (lines > MaxMemoLines) {
        throw UsageError("the memo has " + std::to_string(lines) + " lines; it holds at most " +
                         std::to_string(MaxMemoLines));
    }
    return text;
}

std::filesystem::path Utf8Path(const std::string& text) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

std::string Utf8Text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

std::string WithoutByteOrderMark(std::string text) {
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    if (text.starts_with(mark)) {
        text.erase(0, mark.size());
    }
    return text;
}

std::vector<GridRow> ExampleGrid() {
    return {GridRow{"30.124555", "31.254447", "2.5", "0.54"},
            GridRow{"31.55125", "29.79862", "1.2", "9.4"}};
}

std::string ExampleMemo() {
    return "30.102, 31.215\n-25.365, 16.2145";
}

SimOptions ParseSimOptions(const std::vector<std::string>& args) {
    SimOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (name == "--estimate") {
            options.estimate = true;
            continue;
        }
        if (!EditOptions().contains(name) && !OtherOptions().contains(name)) {
            throw UsageError("unknown option '" + name + "'");
        }
        if (i + 1 == args.size()) {
            throw UsageError("option " + name + " needs a value");
        }
        const std::string& value = args[++i];
        if (auto edit = EditOptions().find(name); edit != EditOptions().end()) {
            options.edits[static_cast<std::size_t>(edit->second)] = value;
        } else if (name == "--tab") {
            options.tab = ParseTab(value);
        } else if (name == "--grid") {
            options.gridFile = Utf8Path(value);
        } else if (name == "--memo") {
            options.memoFile = Utf8Path(value);
        } else if (name == "--decimal-separator") {
            if (value.size() != 1) {
                throw UsageError("the decimal separator is one character, not '" + value + "'");
            }
            options.decimalSeparator = value[0];
        } else if (name == "--dir") {
            options.directory = Utf8Path(value);
        } else if (name == "--until") {
            options.until = ParseSeconds(value);
            if (options.until > MaxUntil) {
                throw UsageError("--until " + value + " is beyond the longest run, " +
                                 FormatSeconds(MaxUntil) + " seconds");
            }
        } else { // --do
            SimAction action = ParseAction(value);
            if (!options.actions.empty() && action.at < options.actions.back().at) {
                throw UsageError("--do " + value + " comes before the action preceding it");
            }
            options.actions.push_back(std::move(action));
        }
    }
    if (options.actions.empty()) {
        options.actions.push_back(SimAction{});
    }
    return options;
}

std::string SimUsage() {
    return R"(Usage: tembrel-sim [options]
Runs a voyage against a headless window and a virtual clock, and prints what
the user and Google Earth would see, one event a line: "<seconds> <event>".

Inputs (exact texts of the main window's edits; default empty):
  --lat TEXT  --lon TEXT  --width TEXT  --height TEXT
  --snap-width TEXT  --snap-height TEXT  --altitude TEXT  --refresh TEXT
  --tab area|areas|points     the active tab (default area)
  --grid FILE                 area rows, four TAB-separated cells a line (at most 50)
  --memo FILE                 the points memo's text (at most 32767 lines)
                              (each file at most 4 MiB)
  --decimal-separator C       (default ".")
  --dir DIR                   where the view file is written (default: here)
  --until SECONDS             when the run stops (default 100000, at most 1000000)
  --do SECONDS:ACTION         repeatable, in time order; ACTION is one of
                              start, pause, stop, stop-no, tab=area|areas|points,
                              refresh=TEXT (default: --do 0:start)
  --estimate                  print what a Start now would take instead of
                              running: "views N", "periods N", "seconds N"
                              (or "never ends", "too long", "fails ...")

Events: view LON LAT RANGE, gauge N, label TEXT, label shown, label hidden,
box TYPE TEXT, errorbox TEXT.
)";
}

} // namespace tembrel
