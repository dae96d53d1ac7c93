// Text to integer: no crash on any text, the exact refusal message, and an
// accepted decimal text means the value its digits spell.
#include "TextConversion.h"
#include "VoyageErrors.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::int32_t value = 0;
    try {
        value = tembrel::StrToInt(text);
    } catch (const tembrel::ConversionError& e) {
        const std::string message = "'" + text + "' is not a valid integer value";
        if (std::strcmp(e.what(), message.c_str()) != 0) {
            __builtin_trap();
        }
        return 0;
    }

    // Nothing may follow the number, not even a space.
    if (text.empty() || text.back() == ' ') {
        __builtin_trap();
    }
    const std::size_t start = text.find_first_not_of(' ');
    const char first = text[start];
    if (first == '+' || first == '-' ||
        (first >= '0' && first <= '9' && text[start + 1] != 'x' && text[start + 1] != 'X')) {
        // Decimal: the digits, read in 64 bits, must give the same value.
        long long expected = 0;
        std::size_t i = start + ((first == '+' || first == '-') ? 1 : 0);
        for (; i < text.size(); ++i) {
            if (text[i] < '0' || text[i] > '9' || expected > 10000000000LL) {
                __builtin_trap();
            }
            expected = expected * 10 + (text[i] - '0');
        }
        if (first == '-') {
            expected = -expected;
        }
        if (expected != value) {
            __builtin_trap();
        }
    }
    return 0;
}
