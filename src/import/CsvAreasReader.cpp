#include "CsvAreasReader.h"

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

CsvAreasReader::CsvAreasReader(std::size_t maxAreas)
    : maxAreas_(maxAreas), stream_([this](const CsvLines::Line& line) { return OnLine(line); }) {}

AreasImport CsvAreasReader::Read(std::string_view text) {
    CsvAreasReader reader;
    reader.Feed(text);
    return reader.Finish();
}

bool CsvAreasReader::Feed(std::string_view chunk) {
    return stream_.Feed(chunk);
}

AreasImport CsvAreasReader::Finish() {
    stream_.Finish();
    return std::move(result_);
}

bool CsvAreasReader::OnLine(const CsvLines::Line& line) {
    const auto problem = [&](std::string reason) {
        NoteProblem(result_, line.number, std::move(reason));
        return true;
    };
    if (line.tooLong) {
        return problem(LineTooLong());
    }
    const bool decimalComma = stream_.Separator() != ',';
    if (!columns_) {
        columns_.emplace(line.fields,
                         std::vector<CsvColumns::Matcher>{CsvColumns::NamesLatitude,
                                                          CsvColumns::NamesLongitude, NamesWidth,
                                                          NamesHeight},
                         decimalComma);
        if (columns_->HasHeader()) {
            return true;
        }
    }
    const std::vector<std::size_t>& index = columns_->Indices();
    static constexpr std::array<const char*, 4> Names = {"latitude", "longitude", "width",
                                                         "height"};
    if (line.fields.size() <= *std::max_element(index.begin(), index.end())) {
        return problem("expected a latitude, a longitude, a width and a height");
    }
    std::array<Extended, 4> values{};
    std::string reason;
    for (std::size_t i = 0; i < values.size() && reason.empty(); ++i) {
        const std::string& text = line.fields[index[i]];
        if (const auto value = ImportNumbers::Parse(text, decimalComma)) {
            values[i] = *value;
        } else {
            reason = std::string(Names[i]) + " " + ImportNumbers::Quoted(text) + " is not a number";
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
        return problem(std::move(reason));
    }
    result_.areas.push_back({values[0], values[1], values[2], values[3], line.number});
    return result_.areas.size() <= maxAreas_;
}

} // namespace tembrel
