#include "PrintableText.h"

#include <cstddef>

namespace tembrel {

namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD"; // U+FFFD

// U+2400 + code, three bytes of UTF-8, for a code below 0x80.
void AppendPicture(std::string& out, unsigned code) {
    const unsigned picture = 0x2400 + code;
    out += static_cast<char>(0xE0 | (picture >> 12));
    out += static_cast<char>(0x80 | ((picture >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (picture & 0x3F));
}

// The length of the UTF-8 character at text[at], or 0 when no character starts
// there; `valid` is then how many bytes form the broken start (at least 1).
std::size_t CharacterLength(std::string_view text, std::size_t at, std::size_t& valid) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(at);
    std::size_t length = 0;
    unsigned low = 0x80; // the second byte's range; later ones are 80..BF
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong form
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogate
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;  // no overlong form
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing beyond U+10FFFF
    }
    valid = 1;
    if (length == 0) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (at + i >= text.size() || byte(at + i) < (i == 1 ? low : 0x80) ||
            byte(at + i) > (i == 1 ? high : 0xBF)) {
            return 0;
        }
        valid = i + 1;
    }
    return length;
}

} // namespace

std::string PrintableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[at]);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t') || c == 0x7F) {
                AppendPicture(out, c == 0x7F ? 0x21 : c);
            } else {
                out += static_cast<char>(c);
            }
            ++at;
            continue;
        }
        std::size_t valid = 0;
        const std::size_t length = CharacterLength(text, at, valid);
        if (length > 0) {
            out.append(text.substr(at, length));
            at += length;
        } else {
            out.append(Replacement); // one for the broken start, as Qt does
            at += valid;
        }
    }
    return out;
}

} // namespace tembrel
