#include "AreasFile.h"

#include "CsvAreasReader.h"
#include "VoyageErrors.h"

#include <QByteArray>
#include <QString>

#include <string_view>

namespace tembrel {

namespace {

template <class Source> AreasImport ReadAreas(Source&& source) {
    CsvAreasReader reader(MaxImportedAreas);
    if (!source([&](std::string_view chunk) { return reader.Feed(chunk); })) {
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
    return ReadAreas([&](const std::function<bool(std::string_view)>& consume) {
        return ImportFileData::Read(path, MaxFileBytes, progress, consume);
    });
}

AreasImport AreasFile::Parse(const QByteArray& data) {
    return ReadAreas([&](const std::function<bool(std::string_view)>& consume) {
        consume(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
        return true;
    });
}

} // namespace tembrel
