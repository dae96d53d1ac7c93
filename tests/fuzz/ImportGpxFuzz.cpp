// The GPX points importer on arbitrary bytes (see ImportFuzz.h).
#include "GpxPointsReader.h"
#include "ImportFuzz.h"
#include "PointsFile.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tembrel;
    test::CheckImporter<GpxPointsReader, PointsImport>(
        data, size, MaxImportedPoints,
        [](std::string_view text) {
            return PointsFile::Parse(QByteArray(text.data(), static_cast<qsizetype>(text.size())),
                                     PointsFile::Kind::Gpx);
        },
        &PointsImport::points);
    return 0;
}
