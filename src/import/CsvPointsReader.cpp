#include "CsvPointsReader.h"

#include "ImportNumbers.h"

namespace tembrel {

CsvPointsReader::CsvPointsReader(std::size_t maxPoints)
    : CsvNumberLines(
          {{"longitude", CsvColumns::NamesLongitude}, {"latitude", CsvColumns::NamesLatitude}},
          "expected a longitude and a latitude"),
      maxPoints_(maxPoints) {}

PointsImport CsvPointsReader::Read(std::string_view text) {
    CsvPointsReader reader;
    reader.Feed(text);
    return reader.Finish();
}

PointsImport CsvPointsReader::Finish() {
    FinishLines();
    return std::move(result_);
}

bool CsvPointsReader::Take(const std::vector<Extended>& values, int line) {
    std::string reason = ImportNumbers::LongitudeProblem(values[0]);
    if (reason.empty()) {
        reason = ImportNumbers::LatitudeProblem(values[1]);
    }
    if (!reason.empty()) {
        Refuse(line, std::move(reason));
        return true;
    }
    result_.points.push_back({values[0], values[1], line});
    return result_.points.size() <= maxPoints_;
}

} // namespace tembrel
