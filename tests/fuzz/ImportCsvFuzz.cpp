// The CSV importers, of points and of areas, on arbitrary bytes (see
// ImportFuzz.h).
#include "AreasFile.h"
#include "CsvAreasReader.h"
#include "CsvPointsReader.h"
#include "ImportFuzz.h"
#include "PointsFile.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

QByteArray Bytes(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tembrel;
    test::CheckImporter<CsvPointsReader, PointsImport>(
        data, size, MaxImportedPoints,
        [](std::string_view text) { return PointsFile::Parse(Bytes(text), PointsFile::Kind::Csv); },
        &PointsImport::points);
    test::CheckImporter<CsvAreasReader, AreasImport>(
        data, size, MaxImportedAreas,
        [](std::string_view text) { return AreasFile::Parse(Bytes(text)); }, &AreasImport::areas);
    return 0;
}
