#include "KmlWriter.h"

namespace tembrel {

namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD"; // U+FFFD

// The length of the well-formed UTF-8 sequence at text[i], or 0.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) {
            return 0;
        }
    }
    // U+FFFE and U+FFFF are not XML characters either.
    if (length == 3 && lead == 0xEF && byte(i + 1) == 0xBF && byte(i + 2) >= 0xBE) {
        return 0;
    }
    return length;
}

} // namespace

KmlWriter::KmlWriter() {
    document_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    Open("kml", std::string("xmlns=\"") + Namespace + "\"");
}

void KmlWriter::Indent() {
    // The kml element itself is not indented under.
    if (open_.size() > 1) {
        document_.append(open_.size() - 1, ' ');
    }
}

void KmlWriter::Open(std::string_view name, std::string_view attributes) {
    Indent();
    document_ += '<';
    document_ += name;
    if (!attributes.empty()) {
        document_ += ' ';
        document_ += attributes;
    }
    document_ += ">\n";
    open_.emplace_back(name);
}

void KmlWriter::Close() {
    if (open_.empty()) {
        return;
    }
    const std::string name = std::move(open_.back());
    open_.pop_back();
    Indent();
    document_ += "</" + name + ">\n";
}

void KmlWriter::Element(std::string_view name, std::string_view text) {
    Indent();
    document_ += '<';
    document_ += name;
    document_ += '>';
    document_ += Escape(text);
    document_ += "</";
    document_ += name;
    document_ += ">\n";
}

std::string KmlWriter::Finish() {
    while (!open_.empty()) {
        Close();
    }
    return document_;
}

std::string KmlWriter::Escape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            const std::size_t length = Utf8Length(text, i);
            if (length == 0) {
                escaped += Replacement;
                ++i;
            } else {
                escaped.append(text.substr(i, length));
                i += length;
            }
            continue;
        }
        ++i;
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&apos;";
            break;
        default:
            if (byte >= 0x20 || c == '\t' || c == '\n' || c == '\r') {
                escaped += c;
            }
            break;
        }
    }
    return escaped;
}

} // namespace tembrel
