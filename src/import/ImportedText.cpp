#include "ImportedText.h"

#include "NumberText.h"

namespace tembrel {

std::string ImportedText::WithoutSeparator(const std::string& text, char decimalSeparator) {
    const std::size_t separator = text.find(decimalSeparator);
    if (separator == std::string::npos) {
        return text;
    }
    const std::size_t exponentAt = text.find('E');
    const std::string mantissa = text.substr(0, exponentAt);
    long exponent = exponentAt == std::string::npos ? 0 : std::stol(text.substr(exponentAt + 1));
    std::string sign;
    std::string digits = mantissa.substr(0, separator);
    if (!digits.empty() && digits.front() == '-') {
        sign = "-";
        digits.erase(0, 1);
    }
    const std::string fraction = mantissa.substr(separator + 1);
    digits += fraction;
    exponent -= static_cast<long>(fraction.size());
    const std::size_t firstDigit = digits.find_first_not_of('0');
    digits = firstDigit == std::string::npos ? "0" : digits.substr(firstDigit);
    return sign + digits + (exponent != 0 ? "E" + std::to_string(exponent) : "");
}

std::string ImportedText::MemoLine(const ImportedPoint& point, char decimalSeparator) {
    std::string longitude = FormatNumber(point.longitude, decimalSeparator);
    if (decimalSeparator == ',') {
        longitude = WithoutSeparator(longitude, decimalSeparator);
    }
    return longitude + ", " + FormatNumber(point.latitude, decimalSeparator);
}

std::array<std::string, 4> ImportedText::GridRow(const ImportedArea& area, char decimalSeparator) {
    return {FormatNumber(area.latitude, decimalSeparator),
            FormatNumber(area.longitude, decimalSeparator),
            FormatNumber(area.width, decimalSeparator),
            FormatNumber(area.height, decimalSeparator)};
}

} // namespace tembrel
