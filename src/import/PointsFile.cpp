#include "PointsFile.h"

#include "CsvPointsReader.h"
#include "GpxPointsReader.h"
#include "ImportFileData.h"
#include "KmlPointsReader.h"
#include "VoyageErrors.h"

#include <QByteArray>
#include <QFileInfo>
#include <QString>

#include <string_view>

namespace tembrel {

PointsFile::Kind PointsFile::KindOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("gpx")) {
        return Kind::Gpx;
    }
    if (suffix == QLatin1String("kml")) {
        return Kind::Kml;
    }
    return Kind::Csv;
}

PointsImport PointsFile::Read(const QString& path) {
    return Parse(ImportFileData(path, MaxFileBytes), KindOf(path));
}

PointsImport PointsFile::Parse(const QByteArray& data, Kind kind) {
    PointsImport result;
    switch (kind) {
    case Kind::Gpx:
        result = GpxPointsReader::Read(data);
        break;
    case Kind::Kml:
        result = KmlPointsReader::Read(data);
        break;
    case Kind::Csv:
        result = CsvPointsReader::Read(
            std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
        break;
    }
    if (result.points.size() > MaxImportedPoints) {
        throw VoyageError("The file holds " + std::to_string(result.points.size()) +
                          " points; the points list takes at most " +
                          std::to_string(MaxImportedPoints) + ". Nothing has been imported.");
    }
    return result;
}

} // namespace tembrel
