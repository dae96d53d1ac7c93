#include "CsvAreasReader.h"

#include "ImportNumbers.h"

namespace tembrel {

namespace {

bool NamesWidth(const std::string& name) {
    return name.starts_with("width") || name == "w";
}

bool NamesHeight(const std::string& name) {
    return name.starts_with("height") || name == "h";
}

} // namespace

CsvAreasReader::CsvAreasReader(std::size_t maxAreas)
    : CsvNumberLines({{"latitude", CsvColumns::NamesLatitude},
                      {"longitude", CsvColumns::NamesLongitude},
                      {"width", NamesWidth},
                      {"height", NamesHeight}},
                     "expected a latitude, a longitude, a width and a height"),
      maxAreas_(maxAreas) {}

AreasImport CsvAreasReader::Read(std::string_view text) {
    CsvAreasReader reader;
    reader.Feed(text);
    return reader.Finish();
}

AreasImport CsvAreasReader::Finish() {
    FinishLines();
    return std::move(result_);
}

bool CsvAreasReader::Take(const std::vector<Extended>& values, int line) {
    std::string reason = ImportNumbers::LatitudeProblem(values[0]);
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
        Refuse(line, std::move(reason));
        return true;
    }
    result_.areas.push_back({values[0], values[1], values[2], values[3], line});
    return result_.areas.size() <= maxAreas_;
}

} // namespace tembrel
