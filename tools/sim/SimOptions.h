#pragma once

#include "VirtualClock.h"
#include "VoyageInputs.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tembrel {

// A command line that tembrel-sim cannot run; Message() says why.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message)
        : std::runtime_error(message), message_(message) {}

    // The whole message: what() ends at a NUL, which a file quoted in it may hold.
    const std::string& Message() const noexcept { return message_; }

private:
    std::string message_;
};

using GridRow = std::array<std::string, VoyageInputs::GridColumnCount>;

// One --do action: what the user does at a virtual time.
struct SimAction {
    enum class Kind { Start, Pause, Stop, StopNo, Tab, Refresh };
    VirtualClock::Milliseconds at = 0;
    Kind kind = Kind::Start;
    Page page = Page::TS_Area; // Tab
    std::string text;          // Refresh: the new text of E_VR
    bool operator==(const SimAction&) const = default;
};

// The longest run --until accepts: about eleven and a half days, far beyond a
// 32767-point memo at 10 s, while a run at the shortest period still ends in
// minutes.
inline constexpr VirtualClock::Milliseconds MaxUntil = 1000000 * 1000ll;

// The window's own limits on the inputs, and a bound on the files read for them.
inline constexpr std::size_t MaxMemoLines = 32767;
inline constexpr std::size_t MaxInputFileBytes = 4 * 1024 * 1024;

struct SimOptions {
    std::array<std::string, 8> edits; // indexed by InputEdit
    Page tab = Page::TS_Area;
    std::optional<std::filesystem::path> gridFile;
    std::optional<std::filesystem::path> memoFile;
    char decimalSeparator = '.';
    std::filesystem::path directory; // empty: the current directory
    VirtualClock::Milliseconds until = 100000 * 1000;
    std::vector<SimAction> actions; // in time order; {0:start} when none given
    bool help = false;
    bool estimate = false; // print the estimate of a Start instead of running
};

// The command line's arguments (without the program name), in UTF-8.
SimOptions ParseSimOptions(const std::vector<std::string>& args);

// A path given in UTF-8, as the command line's are on every system, and a
// path in UTF-8 for a message (on Windows, string() would give the ANSI code
// page's spelling, or throw).
std::filesystem::path Utf8Path(const std::string& text);
std::string Utf8Text(const std::filesystem::path& path);

// The text of a file for --grid or --memo without a leading UTF-8 byte order
// mark, as the window's imports read it.
std::string WithoutByteOrderMark(std::string text);

// "12", "0.5", "7.125": whole seconds with up to three decimals.
VirtualClock::Milliseconds ParseSeconds(std::string_view text);

// "SECONDS:ACTION", split at the first colon.
SimAction ParseAction(std::string_view text);

// "area", "areas" or "points".
Page ParseTab(std::string_view text);

// Whole seconds without decimals, else up to three decimals, no trailing zeros.
std::string FormatSeconds(VirtualClock::Milliseconds time);

// Grid rows, one a line (lines as the memo splits them), cells separated by
// TAB; missing cells are empty. More than 50 rows or 4 cells is refused.
std::vector<GridRow> ParseGrid(const std::string& text);

// The memo's text; more than MaxMemoLines lines is refused.
std::string CheckMemo(std::string text);

// The two rows the main window fills in at creation, and the memo's lines.
std::vector<GridRow> ExampleGrid();
std::string ExampleMemo();

std::string SimUsage();

} // namespace tembrel
