#include "AreasFile.h"

#include "CsvAreasReader.h"
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
        return file + " is a KMZ file, a zipped KML: Import areas... reads CSV text, one area a "
                      "line (latitude, longitude, width and height in km). Nothing has been "
                      "imported.";
    }
    return file + " is a zip archive, not text (a spreadsheet saved as .xlsx or .ods is one): "
                  "save it as CSV and import that. Nothing has been imported.";
}

template <class Source> AreasImport ReadAreas(Source&& source, const QString& name) {
    CsvAreasReader reader(MaxImportedAreas);
    ZipArchiveCheck zip(ZipRefusal(name));
    if (!source([&](std::string_view chunk) {
            zip.Scan(chunk);
            return reader.Feed(chunk);
        })) {
        AreasImport cancelled; // as a cancelled points file: nothing kept
        cancelled.cancelled = true;
        return cancelled;
    }
    AreasImport result = reader.Finish();
    if (result.areas.size() > MaxImportedAreas) {
        throw VoyageError("The file holds more than " + std::to_string(MaxImportedAreas) +
                          " areas; the area grid takes at most " +
                          std::to_string(MaxImportedAreas) + ". Nothing has been imported.");
    }
    return result;
}

} // namespace

AreasImport AreasFile::Read(const QString& path, const ImportProgress& progress) {
    return ReadAreas(
        [&](const std::function<bool(std::string_view)>& consume) {
            return ImportFileData::Read(path, MaxFileBytes, progress, consume);
        },
        QFileInfo(path).fileName());
}

AreasImport AreasFile::Parse(const QByteArray& data) {
    return ReadAreas(
        [&](const std::function<bool(std::string_view)>& consume) {
            consume(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
            return true;
        },
        QString());
}

} // namespace tembrel
