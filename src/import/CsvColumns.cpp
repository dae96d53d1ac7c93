#include "CsvColumns.h"

#include "ImportNumbers.h"

#include <cctype>

namespace tembrel {

namespace {

std::string Normalised(const std::string& name) {
    std::string normal;
    for (const char c : name) {
        if (c != ' ' && c != '\t' && c != '_') {
            normal += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return normal;
}

} // namespace

CsvColumns::CsvColumns(const CsvLines& csv, const std::vector<Matcher>& wanted,
                       bool decimalCommaAllowed)
    : csv_(csv) {
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        indices_.push_back(i);
    }
    if (csv.Lines().empty()) {
        return;
    }
    const std::vector<std::string>& first = csv.Lines().front().fields;
    header_ = true;
    for (const std::string& field : first) {
        if (ImportNumbers::Parse(field, decimalCommaAllowed)) {
            header_ = false;
        }
    }
    if (!header_) {
        return;
    }
    std::vector<std::size_t> named;
    for (const Matcher& matches : wanted) {
        for (std::size_t field = 0; field < first.size(); ++field) {
            if (matches(Normalised(first[field]))) {
                named.push_back(field);
                break;
            }
        }
    }
    if (named.size() == wanted.size()) {
        indices_ = named;
    }
}

std::vector<CsvLines::Line> CsvColumns::DataLines() const {
    const std::vector<CsvLines::Line>& lines = csv_.Lines();
    if (header_) {
        return {lines.begin() + 1, lines.end()};
    }
    return lines;
}

bool CsvColumns::NamesLongitude(const std::string& name) {
    return name.starts_with("lon") || name.starts_with("lng") || name == "x";
}

bool CsvColumns::NamesLatitude(const std::string& name) {
    return name.starts_with("lat") || name == "y";
}

} // namespace tembrel
