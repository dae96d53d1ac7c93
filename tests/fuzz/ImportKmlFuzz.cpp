// The KML points importer on arbitrary bytes (see ImportFuzz.h).
#include "ImportFuzz.h"
#include "KmlPointsReader.h"
#include "PointsFile.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tembrel;
    test::CheckImporter<KmlPointsReader, PointsImport>(
        data, size, MaxImportedPoints,
        [](std::string_view text) {
            return PointsFile::Parse(QByteArray(text.data(), static_cast<qsizetype>(text.size())),
                                     PointsFile::Kind::Kml);
        },
        &PointsImport::points);
    return 0;
}
