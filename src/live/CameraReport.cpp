#include "CameraReport.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace tembrel {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Percent escapes undone ("%2C" is how some clients send the bbox's commas).
std::optional<std::string> Unescape(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            plain += text[i];
            continue;
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        const int high = HexDigit(text[i + 1]);
        const int low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        plain += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return plain;
}

// A finite decimal number filling the whole text: digits, an optional
// leading '-', '.' and an exponent; no spaces, '+', "inf" or "nan".
std::optional<double> Number(std::string_view text) {
    if (text.empty() || text.size() > 40) {
        return std::nullopt;
    }
    for (const char c : text) {
        const bool allowed = (c >= '0' && c <= '9') || c == '-' || c == '.' || c == 'e' || c == 'E';
        if (!allowed) {
            return std::nullopt;
        }
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

bool Within(double value, double low, double high) {
    return value >= low && value <= high;
}

enum Key { Lon, Lat, Range, Tilt, Heading, Bbox, Width, Height, KeyCount };
constexpr std::array<std::string_view, KeyCount> KeyNames = {"lon",     "lat",  "range", "tilt",
                                                             "heading", "bbox", "w",     "h"};

} // namespace

std::optional<CameraReport> ParseCameraReport(std::string_view query) {
    if (query.size() > MaxReportQuery) {
        return std::nullopt;
    }
    std::array<std::optional<std::string>, KeyCount> values;
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        const std::size_t eq = pair.find('=');
        if (eq == std::string_view::npos) {
            continue;
        }
        const std::string_view name = pair.substr(0, eq);
        for (std::size_t k = 0; k < KeyCount; ++k) {
            if (name != KeyNames[k]) {
                continue;
            }
            if (values[k]) {
                return std::nullopt; // a repeated key: which one is meant?
            }
            values[k] = Unescape(pair.substr(eq + 1));
            if (!values[k]) {
                return std::nullopt;
            }
        }
    }
    for (const auto& value : values) {
        if (!value) {
            return std::nullopt;
        }
    }

    std::array<double, 4> box{};
    std::string_view rest = *values[Bbox];
    for (std::size_t i = 0; i < box.size(); ++i) {
        const std::size_t comma = rest.find(',');
        if ((i + 1 < box.size()) == (comma == std::string_view::npos)) {
            return std::nullopt; // not exactly four numbers
        }
        const auto number = Number(rest.substr(0, comma));
        if (!number) {
            return std::nullopt;
        }
        box[i] = *number;
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }

    std::array<double, Bbox> plain{};
    for (std::size_t k = 0; k < Bbox; ++k) {
        const auto number = Number(*values[k]);
        if (!number) {
            return std::nullopt;
        }
        plain[k] = *number;
    }
    const auto width = Number(*values[Width]);
    const auto height = Number(*values[Height]);
    if (!width || !height) {
        return std::nullopt;
    }

    CameraReport report;
    report.lon = plain[Lon];
    report.lat = plain[Lat];
    report.range = plain[Range];
    report.tilt = plain[Tilt];
    report.heading = plain[Heading];
    report.west = box[0];
    report.south = box[1];
    report.east = box[2];
    report.north = box[3];
    const bool whole = *width == std::floor(*width) && *height == std::floor(*height);
    if (!whole || !Within(*width, 0, 100000) || !Within(*height, 0, 100000)) {
        return std::nullopt;
    }
    report.width = static_cast<int>(*width);
    report.height = static_cast<int>(*height);

    // A box may cross the antimeridian (west > east), never the poles.
    const bool valid = Within(report.lon, -180, 180) && Within(report.lat, -90, 90) &&
                       Within(report.range, 0, 1e9) && Within(report.tilt, 0, 180) &&
                       Within(report.heading, -360, 360) && Within(report.west, -180, 180) &&
                       Within(report.east, -180, 180) && Within(report.south, -90, 90) &&
                       Within(report.north, -90, 90) && report.south <= report.north;
    if (!valid) {
        return std::nullopt;
    }
    return report;
}

} // namespace tembrel
