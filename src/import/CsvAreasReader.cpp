#include "CsvAreasReader.h"

#include "CsvColumns.h"
#include "CsvLines.h"
#include "ImportNumbers.h"

#include <algorithm>
#include <array>

namespace tembrel {

namespace {

bool NamesWidth(const std::string& name) {
    return name.starts_with("width") || name == "w";
}

bool NamesHeight(const std::string& name) {
    return name.starts_with("height") || name == "h";
}

} // namespace

AreasImport CsvAreasReader::Read(std::string_view text) {
    const CsvLines csv(text);
    const bool decimalComma = csv.Separator() != ',';
    const CsvColumns columns(
        csv, {CsvColumns::NamesLatitude, CsvColumns::NamesLongitude, NamesWidth, NamesHeight},
        decimalComma);
    const std::vector<std::size_t>& index = columns.Indices();
    static constexpr std::array<const char*, 4> Names = {"latitude", "longitude", "width",
                                                         "height"};

    AreasImport result;
    for (const CsvLines::Line& line : columns.DataLines()) {
        const auto problem = [&](std::string reason) {
            result.problems.push_back({line.number, std::move(reason)});
        };
        if (line.fields.size() <= *std::max_element(index.begin(), index.end())) {
            problem("expected a latitude, a longitude, a width and a height");
            continue;
        }
        std::array<Extended, 4> values{};
        std::string reason;
        for (std::size_t i = 0; i < values.size() && reason.empty(); ++i) {
            const std::string& text = line.fields[index[i]];
            if (const auto value = ImportNumbers::Parse(text, decimalComma)) {
                values[i] = *value;
            } else {
                reason =
                    std::string(Names[i]) + " " + ImportNumbers::Quoted(text) + " is not a number";
            }
        }
        if (reason.empty()) {
            reason = ImportNumbers::LatitudeProblem(values[0]);
        }
        if (reason.empty()) {
            reason = ImportNumbers::LongitudeProblem(values[1]);
        }
        if (reason.empty()) {
            reason = ImportNumbers::SizeProblem("width", values[2]);
        }
        if (reason.empty()) {
            reason = ImportNumbers::SizeProblem("height", values[3]);
        }
        if (!reason.empty()) {
            problem(std::move(reason));
            continue;
        }
        result.areas.push_back({values[0], values[1], values[2], values[3], line.number});
    }
    return result;
}

} // namespace tembrel
