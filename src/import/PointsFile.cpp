#include "PointsFile.h"

#include "CsvPointsReader.h"
#include "GpxPointsReader.h"
#include "KmlPointsReader.h"
#include "VoyageErrors.h"
#include "ZipArchiveCheck.h"

#include <QByteArray>
#include <QFileInfo>
#include <QString>

#include <string_view>

namespace tembrel {

namespace {

// A zipped file, named (or not, when name is empty) as the user sees it.
std::string ZipRefusal(const QString& name) {
    const std::string file = name.isEmpty() ? "The file" : "The file " + name.toStdString();
    if (QFileInfo(name).suffix().toLower() == QLatin1String("kmz")) {
        return file + " is a KMZ file, a zipped KML: Import points... reads KML as it is, not "
                      "zipped. Save the places as KML in Google Earth (Save Place As..., type "
                      "KML), or unzip the file and import the doc.kml in it. Nothing has been "
                      "imported.";
    }
    return file + " is a zip archive, not text (a spreadsheet saved as .xlsx or .ods is one): "
                  "save it as CSV and import that. Nothing has been imported.";
}

// Reads with one of the readers, fed by source; refuses a zip archive, and a
// file that holds more points than the memo takes, without reading past the
// first of them.
template <class Reader, class Source> PointsImport ReadWith(Source&& source, const QString& name) {
    Reader reader(MaxImportedPoints);
    ZipArchiveCheck zip(ZipRefusal(name));
    if (!source([&](std::string_view chunk) {
            zip.Scan(chunk);
            return reader.Feed(chunk);
        })) {
        // Cancelled: the part read is no document to judge (an XML one is
        // unfinished), and nothing of it is kept.
        PointsImport cancelled;
        cancelled.cancelled = true;
        return cancelled;
    }
    PointsImport result = reader.Finish();
    if (result.points.size() > MaxImportedPoints) {
        throw VoyageError("The file holds more than " + std::to_string(MaxImportedPoints) +
                          " points; the points list takes at most " +
                          std::to_string(MaxImportedPoints) + ". Nothing has been imported.");
    }
    return result;
}

template <class Source>
PointsImport ReadKind(PointsFile::Kind kind, Source&& source, const QString& name) {
    switch (kind) {
    case PointsFile::Kind::Gpx:
        return ReadWith<GpxPointsReader>(source, name);
    case PointsFile::Kind::Kml:
        return ReadWith<KmlPointsReader>(source, name);
    case PointsFile::Kind::Csv:
        break;
    }
    return ReadWith<CsvPointsReader>(source, name);
}

} // namespace

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

PointsImport PointsFile::Read(const QString& path, const ImportProgress& progress) {
    return ReadKind(
        KindOf(path),
        [&](const std::function<bool(std::string_view)>& consume) {
            return ImportFileData::Read(path, MaxFileBytes, progress, consume);
        },
        QFileInfo(path).fileName());
}

PointsImport PointsFile::Parse(const QByteArray& data, Kind kind) {
    return ReadKind(
        kind,
        [&](const std::function<bool(std::string_view)>& consume) {
            consume(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
            return true;
        },
        QString());
}

} // namespace tembrel
