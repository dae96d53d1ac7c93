#include "CsvLines.h"

namespace tembrel {

namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string_view> PhysicalLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            lines.push_back(text.substr(begin, i - begin));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            begin = i + 1;
        }
    }
    if (begin < text.size()) {
        lines.push_back(text.substr(begin));
    }
    return lines;
}

} // namespace

CsvLines::CsvLines(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    const std::vector<std::string_view> lines = PhysicalLines(text);
    bool separatorKnown = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (Trim(lines[i]).empty()) {
            continue;
        }
        if (!separatorKnown) {
            separatorKnown = true;
            if (lines[i].find('\t') != std::string_view::npos) {
                separator_ = '\t';
            } else if (lines[i].find(';') != std::string_view::npos) {
                separator_ = ';';
            }
        }
        lines_.push_back({static_cast<int>(i + 1), SplitFields(lines[i], separator_)});
    }
}

std::vector<std::string> CsvLines::SplitFields(std::string_view line, char separator) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    bool wasQuoted = false;
    const auto finish = [&] {
        fields.push_back(wasQuoted ? field : std::string(Trim(field)));
        field.clear();
        wasQuoted = false;
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"' && Trim(field).empty()) {
            // A quote opens a field only at its start; blanks before it go.
            field.clear();
            quoted = true;
            wasQuoted = true;
        } else if (c == separator) {
            finish();
        } else if (!(wasQuoted && (c == ' ' || c == '\t'))) {
            field += c;
        }
    }
    finish();
    return fields;
}

} // namespace tembrel
