// Text to real: no crash on any text, a finite result when accepted, the
// exact refusal message otherwise, and the same value whichever separator.
#include "TextConversion.h"
#include "VoyageErrors.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace {

std::optional<tembrel::Extended> Convert(const std::string& text, char separator) {
    try {
        const tembrel::Extended value = tembrel::StrToFloat(text, separator);
        if (!std::isfinite(value)) {
            __builtin_trap();
        }
        return value;
    } catch (const tembrel::ConversionError& e) {
        const std::string message = "'" + text + "' is not a valid floating point value";
        if (std::strcmp(e.what(), message.c_str()) != 0) {
            __builtin_trap();
        }
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the separator, the rest is the text.
    const char separator = (data[0] & 1) != 0 ? ',' : '.';
    const char other = separator == '.' ? ',' : '.';
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::optional<tembrel::Extended> value = Convert(text, separator);

    if (text.find(other) == std::string::npos) {
        std::string swapped = text;
        for (char& c : swapped) {
            if (c == separator) {
                c = other;
            }
        }
        const std::optional<tembrel::Extended> again = Convert(swapped, other);
        if (value.has_value() != again.has_value() || (value && *value != *again)) {
            __builtin_trap();
        }
    }
    return 0;
}
