#include "NumberText.h"

#include <cfloat>
#include <charconv>
#include <cmath>

namespace tembrel {

namespace {

constexpr int RoundedDigits = 18;
constexpr int ShownDigits = 15;

// The value's magnitude correctly rounded to 18 significant digits, and its
// decimal exponent in scientific form (d.ddd x 10^exponent).
struct DecimalDigits {
    char digits[RoundedDigits];
    int exponent;
};

DecimalDigits ToDecimal(Extended magnitude) {
    char buffer[64];
    std::to_chars_result result{};
    // Floats and 32-bit integers, the values the view file shows, are exact
    // as doubles, and the double path of to_chars is much faster.
    if (magnitude <= DBL_MAX &&
        static_cast<Extended>(static_cast<double>(magnitude)) == magnitude) {
        result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(magnitude),
                               std::chars_format::scientific, RoundedDigits - 1);
    } else {
        result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                               std::chars_format::scientific, RoundedDigits - 1);
    }
    // buffer holds "d.ddddddddddddddddde+x..."
    DecimalDigits decimal{};
    decimal.digits[0] = buffer[0];
    for (int i = 1; i < RoundedDigits; ++i) {
        decimal.digits[i] = buffer[i + 1];
    }
    const char* exponentText = buffer + RoundedDigits + 2;
    if (*exponentText == '+') {
        ++exponentText;
    }
    std::from_chars(exponentText, result.ptr, decimal.exponent);
    return decimal;
}

} // namespace

std::string FormatNumber(Extended value, char decimalSeparator) {
    if (value == 0) {
        return "0";
    }
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }

    DecimalDigits decimal = ToDecimal(std::fabs(value));
    char* digits = decimal.digits;
    // Half up on the 16th digit, carrying through the 15 kept.
    int count = ShownDigits;
    if (digits[ShownDigits] >= '5') {
        int i = ShownDigits - 1;
        while (i >= 0 && digits[i] == '9') {
            digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++digits[i];
        } else {
            digits[0] = '1';
            ++decimal.exponent;
        }
    }
    while (count > 1 && digits[count - 1] == '0') {
        --count;
    }

    // exponent10 is E of 0.d1d2... x 10^E.
    const int exponent10 = decimal.exponent + 1;
    std::string text;
    text.reserve(32);
    if (value < 0) {
        text += '-';
    }
    if (exponent10 >= -3 && exponent10 <= 15) {
        if (exponent10 > 0) {
            for (int i = 0; i < exponent10; ++i) {
                text += i < count ? digits[i] : '0';
            }
            if (count > exponent10) {
                text += decimalSeparator;
                text.append(digits + exponent10, digits + count);
            }
        } else {
            text += '0';
            text += decimalSeparator;
            text.append(static_cast<std::size_t>(-exponent10), '0');
            text.append(digits, digits + count);
        }
    } else {
        text += digits[0];
        if (count > 1) {
            text += decimalSeparator;
            text.append(digits + 1, digits + count);
        }
        text += 'E';
        const int shown = exponent10 - 1;
        if (shown < 0) {
            text += '-';
        }
        text += std::to_string(shown < 0 ? -shown : shown);
    }
    return text;
}

} // namespace tembrel
