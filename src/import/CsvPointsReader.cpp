#include "CsvPointsReader.h"

#include "CsvColumns.h"
#include "CsvLines.h"
#include "ImportNumbers.h"

#include <algorithm>

namespace tembrel {

PointsImport CsvPointsReader::Read(std::string_view text) {
    const CsvLines csv(text);
    const bool decimalComma = csv.Separator() != ',';
    const CsvColumns columns(csv, {CsvColumns::NamesLongitude, CsvColumns::NamesLatitude},
                             decimalComma);
    const std::size_t lonColumn = columns.Indices()[0];
    const std::size_t latColumn = columns.Indices()[1];

    PointsImport result;
    for (const CsvLines::Line& line : columns.DataLines()) {
        const auto problem = [&](std::string reason) {
            result.problems.push_back({line.number, std::move(reason)});
        };
        if (line.fields.size() <= std::max(lonColumn, latColumn)) {
            problem("expected a longitude and a latitude");
            continue;
        }
        const std::string& lonText = line.fields[lonColumn];
        const std::string& latText = line.fields[latColumn];
        const auto longitude = ImportNumbers::Parse(lonText, decimalComma);
        if (!longitude) {
            problem("longitude " + ImportNumbers::Quoted(lonText) + " is not a number");
            continue;
        }
        const auto latitude = ImportNumbers::Parse(latText, decimalComma);
        if (!latitude) {
            problem("latitude " + ImportNumbers::Quoted(latText) + " is not a number");
            continue;
        }
        if (std::string reason = ImportNumbers::LongitudeProblem(*longitude); !reason.empty()) {
            problem(std::move(reason));
            continue;
        }
        if (std::string reason = ImportNumbers::LatitudeProblem(*latitude); !reason.empty()) {
            problem(std::move(reason));
            continue;
        }
        result.points.push_back({*longitude, *latitude, line.number});
    }
    return result;
}

} // namespace tembrel
