// Number text: no crash for any value; a float's text converts back to the
// same float; an integer's text is its plain decimal form; an extended
// value's text lies within the 15-digit rounding of it.
#include "ExtendedMath.h"
#include "NumberText.h"
#include "TextConversion.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

void CheckFloat(float value, char separator) {
    if (!std::isfinite(value)) {
        return;
    }
    const std::string text = tembrel::FormatNumber(value, separator);
    if (tembrel::StoreSingle(tembrel::StrToFloat(text, separator)) != value) {
        __builtin_trap();
    }
}

void CheckInteger(std::int32_t value, char separator) {
    const std::string text = tembrel::FormatNumber(value, separator);
    if (text != std::to_string(value) || tembrel::StrToInt(text) != value) {
        __builtin_trap();
    }
}

void CheckExtended(tembrel::Extended value, char separator) {
    if (!std::isfinite(value)) {
        return;
    }
    const std::string text = tembrel::FormatNumber(value, separator);
    if (value == 0) {
        if (text != "0") {
            __builtin_trap();
        }
        return;
    }
    const std::size_t exponentAt = text.find('E');
    const std::string mantissa = text.substr(0, exponentAt);
    // Never a trailing zero after the separator, never more than 15 digits.
    if (mantissa.find(separator) != std::string::npos &&
        (mantissa.back() == '0' || mantissa.back() == separator)) {
        __builtin_trap();
    }
    const std::size_t firstSignificant = mantissa.find_first_of("123456789");
    if (firstSignificant == std::string::npos) {
        __builtin_trap();
    }
    const auto significant = std::count_if(mantissa.begin() + firstSignificant, mantissa.end(),
                                           [](char c) { return c >= '0' && c <= '9'; });
    if (significant > 15) {
        __builtin_trap();
    }
    const tembrel::Extended back = tembrel::StrToFloat(text, separator);
    if (std::fabs(back - value) > std::fabs(value) * 1e-13L + LDBL_TRUE_MIN) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const char separator = (data[0] & 1) != 0 ? ',' : '.';
    ++data;
    --size;
    if (size >= sizeof(float)) {
        float value;
        std::memcpy(&value, data, sizeof value);
        CheckFloat(value, separator);
        std::int32_t integer;
        std::memcpy(&integer, data, sizeof integer);
        CheckInteger(integer, separator);
    }
    if (size >= 10) {
        // The ten bytes of an x87 extended value. Encodings that no arithmetic
        // produces (an explicit integer bit that disagrees with the exponent:
        // unnormals, pseudo-denormals) are skipped.
        std::uint64_t significand;
        std::uint16_t signAndExponent;
        std::memcpy(&significand, data, sizeof significand);
        std::memcpy(&signAndExponent, data + 8, sizeof signAndExponent);
        const bool integerBit = (significand >> 63) != 0;
        const bool zeroExponent = (signAndExponent & 0x7FFF) == 0;
        if (integerBit != zeroExponent) {
            tembrel::Extended value = 0;
            std::memcpy(&value, data, 10);
            CheckExtended(value, separator);
        }
    }
    return 0;
}
