#include "ImportNumbers.h"

#include "NumberText.h"
#include "TextConversion.h"
#include "VoyageErrors.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace tembrel {

namespace {

std::optional<Extended> Convert(std::string_view text, char separator) {
    // A character no number holds: refused here, not by the conversion's
    // exception, which costs more than the rest of a line's reading (a file
    // of millions of bad lines).
    const bool impossible = std::any_of(text.begin(), text.end(), [separator](char c) {
        return !(std::isdigit(static_cast<unsigned char>(c)) || c == ' ' || c == '+' || c == '-' ||
                 c == 'E' || c == 'e' || c == separator);
    });
    if (impossible) {
        return std::nullopt;
    }
    try {
        const Extended value = StrToFloat(text, separator);
        if (std::isfinite(value)) {
            return value;
        }
    } catch (const VoyageError&) {
    }
    return std::nullopt;
}

std::string RangeProblem(const char* what, Extended value, Extended limit) {
    if (value >= -limit && value <= limit) {
        return {};
    }
    const std::string bound = FormatNumber(limit, '.');
    return std::string(what) + " " + FormatNumber(value, '.') + " is outside -" + bound + " to " +
           bound;
}

} // namespace

std::optional<Extended> ImportNumbers::Parse(std::string_view text, bool decimalCommaAllowed) {
    // The conversion takes blanks around a number but not tabs.
    while (!text.empty() && (text.front() == '\t' || text.front() == ' ')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == '\t' || text.back() == ' ')) {
        text.remove_suffix(1);
    }
    if (std::optional<Extended> value = Convert(text, '.')) {
        return value;
    }
    if (decimalCommaAllowed && text.find('.') == std::string_view::npos) {
        return Convert(text, ',');
    }
    return std::nullopt;
}

std::string ImportNumbers::LatitudeProblem(Extended latitude) {
    return RangeProblem("latitude", latitude, 90);
}

std::string ImportNumbers::LongitudeProblem(Extended longitude) {
    return RangeProblem("longitude", longitude, 180);
}

std::string ImportNumbers::SizeProblem(const char* what, Extended km) {
    if (km > 0) {
        return {};
    }
    return std::string(what) + " " + FormatNumber(km, '.') + " is not above 0";
}

std::string ImportNumbers::Quoted(std::string_view text) {
    constexpr std::size_t Longest = 40;
    if (text.size() <= Longest) {
        return "'" + std::string(text) + "'";
    }
    return "'" + std::string(text.substr(0, Longest)) + "...'";
}

} // namespace tembrel
