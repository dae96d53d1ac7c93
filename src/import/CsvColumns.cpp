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

CsvColumns::CsvColumns(const std::vector<std::string>& firstLine,
                       const std::vector<Matcher>& wanted, bool decimalCommaAllowed) {
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        indices_.push_back(i);
    }
    header_ = true;
    for (const std::string& field : firstLine) {
        if (ImportNumbers::Parse(field, decimalCommaAllowed)) {
            header_ = false;
        }
    }
    if (!header_) {
        return;
    }
    std::vector<std::size_t> named;
    for (const Matcher& matches : wanted) {
        for (std::size_t field = 0; field < firstLine.size(); ++field) {
            if (matches(Normalised(firstLine[field]))) {
                named.push_back(field);
                break;
            }
        }
    }
    if (named.size() == wanted.size()) {
        indices_ = named;
    }
}

bool CsvColumns::NamesLongitude(const std::string& name) {
    return name.starts_with("lon") || name.starts_with("lng") || name == "x";
}

bool CsvColumns::NamesLatitude(const std::string& name) {
    return name.starts_with("lat") || name == "y";
}

} // namespace tembrel
