#include "TextConversion.h"

#include "VoyageErrors.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

#ifndef _WIN32
#include <locale.h>
#endif

namespace tembrel {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
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

[[noreturn]] void RefuseFloat(std::string_view text) {
    throw ConversionError("'" + std::string(text) + "' is not a valid floating point value");
}

[[noreturn]] void RefuseInt(std::string_view text) {
    throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
}

// Reads text the grammar below has already checked, written with a full stop,
// to the nearest extended value; false unless all of it was read. The process
// locale follows the user's environment and must not decide the decimal point.
#ifdef _WIN32
// MinGW-w64's own strtold (gdtoa, rounding to the 64-bit significand) reads the C
// runtime's current decimal point, and its runtime offers no per-call locale:
// the text gets whatever point that is.
bool ReadCanonical(std::string text, Extended& value) {
    const char* point = std::localeconv()->decimal_point;
    if (point != nullptr && *point != '\0' && std::string_view(point) != ".") {
        if (const std::size_t dot = text.find('.'); dot != std::string::npos) {
            text.replace(dot, 1, point);
        }
    }
    char* stop = nullptr;
    value = __mingw_strtold(text.c_str(), &stop);
    return stop == text.c_str() + text.size();
}
#else
// The "C" numeric locale, created once.
locale_t ClassicNumericLocale() {
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", nullptr);
    return classic;
}

bool ReadCanonical(const std::string& text, Extended& value) {
    char* stop = nullptr;
    value = strtold_l(text.c_str(), &stop, ClassicNumericLocale());
    return stop == text.c_str() + text.size();
}
#endif

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
    }
    return pos;
}

} // namespace

Extended StrToFloat(std::string_view text, char decimalSeparator) {
    std::size_t pos = 0;
    const std::size_t end = text.size();
    while (pos < end && text[pos] == ' ') {
        ++pos;
    }

    // The text is checked against the grammar here and rebuilt with a full
    // stop, so the conversion below never sees a form it could read otherwise.
    std::string canonical;
    canonical.reserve(end - pos + 2);
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
        canonical += text[pos];
        ++pos;
    }
    const std::size_t intStart = pos;
    pos = SkipDigits(text, pos);
    const std::string_view intDigits = text.substr(intStart, pos - intStart);
    bool hasSeparator = false;
    std::string_view fracDigits;
    if (pos < end && text[pos] == decimalSeparator) {
        hasSeparator = true;
        const std::size_t fracStart = ++pos;
        pos = SkipDigits(text, pos);
        fracDigits = text.substr(fracStart, pos - fracStart);
    }
    if (intDigits.empty() && !hasSeparator) {
        RefuseFloat(text);
    }
    canonical += intDigits.empty() ? std::string_view("0") : intDigits;
    if (!fracDigits.empty()) {
        canonical += '.';
        canonical += fracDigits;
    }
    if (pos < end && (text[pos] == 'E' || text[pos] == 'e')) {
        canonical += 'e';
        ++pos;
        if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
            canonical += text[pos];
            ++pos;
        }
        const std::size_t expStart = pos;
        pos = SkipDigits(text, pos);
        if (pos == expStart) {
            RefuseFloat(text);
        }
        canonical += text.substr(expStart, pos - expStart);
    }
    while (pos < end && text[pos] == ' ') {
        ++pos;
    }
    if (pos != end) {
        RefuseFloat(text);
    }

    // Underflow passes with its 0 or denormal result; overflow is refused.
    Extended value = 0;
    if (!ReadCanonical(canonical, value) || std::isinf(value) || std::isnan(value)) {
        RefuseFloat(text);
    }
    return value;
}

std::int32_t StrToInt(std::string_view text) {
    std::size_t pos = 0;
    const std::size_t end = text.size();
    while (pos < end && text[pos] == ' ') {
        ++pos;
    }
    const std::string_view rest = text.substr(pos);

    std::size_t prefix = 0;
    if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
        prefix = 1;
    } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
        prefix = 2;
    }
    if (prefix != 0) {
        const std::string_view digits = rest.substr(prefix);
        if (digits.empty() || digits.size() > 8) {
            RefuseInt(text);
        }
        std::uint32_t value = 0;
        for (char c : digits) {
            const int digit = HexValue(c);
            if (digit < 0) {
                RefuseInt(text);
            }
            value = value * 16 + static_cast<std::uint32_t>(digit);
        }
        // Above 7FFFFFFF the bits are taken as a two's complement value.
        return static_cast<std::int32_t>(value);
    }

    std::size_t i = 0;
    bool negative = false;
    if (i < rest.size() && (rest[i] == '+' || rest[i] == '-')) {
        negative = rest[i] == '-';
        ++i;
    }
    if (i == rest.size()) {
        RefuseInt(text);
    }
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t magnitude = 0;
    for (; i < rest.size(); ++i) {
        if (!IsDigit(rest[i])) {
            RefuseInt(text);
        }
        magnitude = magnitude * 10 + (rest[i] - '0');
        if (magnitude > limit) {
            RefuseInt(text);
        }
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

} // namespace tembrel
