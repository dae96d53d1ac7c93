#include "CsvPointsReader.h"

#include "ImportNumbers.h"

#include <algorithm>

namespace tembrel {

CsvPointsReader::CsvPointsReader(std::size_t maxPoints)
    : maxPoints_(maxPoints), stream_([this](const CsvLines::Line& line) { return OnLine(line); }) {}

PointsImport CsvPointsReader::Read(std::string_view text) {
    CsvPointsReader reader;
    reader.Feed(text);
    return reader.Finish();
}

bool CsvPointsReader::Feed(std::string_view chunk) {
    return stream_.Feed(chunk);
}

PointsImport CsvPointsReader::Finish() {
    stream_.Finish();
    return std::move(result_);
}

bool CsvPointsReader::OnLine(const CsvLines::Line& line) {
    const auto problem = [&](std::string reason) {
        NoteProblem(result_, line.number, std::move(reason));
        return true;
    };
    if (line.tooLong) {
        return problem(LineTooLong());
    }
    const bool decimalComma = stream_.Separator() != ',';
    if (!columns_) {
        columns_.emplace(
            line.fields,
            std::vector<CsvColumns::Matcher>{CsvColumns::NamesLongitude, CsvColumns::NamesLatitude},
            decimalComma);
        if (columns_->HasHeader()) {
            return true;
        }
    }
    const std::size_t lonColumn = columns_->Indices()[0];
    const std::size_t latColumn = columns_->Indices()[1];
    if (line.fields.size() <= std::max(lonColumn, latColumn)) {
        return problem("expected a longitude and a latitude");
    }
    const std::string& lonText = line.fields[lonColumn];
    const std::string& latText = line.fields[latColumn];
    const auto longitude = ImportNumbers::Parse(lonText, decimalComma);
    if (!longitude) {
        return problem("longitude " + ImportNumbers::Quoted(lonText) + " is not a number");
    }
    const auto latitude = ImportNumbers::Parse(latText, decimalComma);
    if (!latitude) {
        return problem("latitude " + ImportNumbers::Quoted(latText) + " is not a number");
    }
    if (std::string reason = ImportNumbers::LongitudeProblem(*longitude); !reason.empty()) {
        return problem(std::move(reason));
    }
    if (std::string reason = ImportNumbers::LatitudeProblem(*latitude); !reason.empty()) {
        return problem(std::move(reason));
    }
    result_.points.push_back({*longitude, *latitude, line.number});
    return result_.points.size() <= maxPoints_;
}

} // namespace tembrel
