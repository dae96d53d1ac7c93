#include "AreasFile.h"

#include "CsvAreasReader.h"
#include "ImportFileData.h"
#include "VoyageErrors.h"

#include <QByteArray>
#include <QString>

#include <string_view>

namespace tembrel {

AreasImport AreasFile::Read(const QString& path) {
    return Parse(ImportFileData(path, MaxFileBytes));
}

AreasImport AreasFile::Parse(const QByteArray& data) {
    AreasImport result = CsvAreasReader::Read(
        std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
    if (result.areas.size() > MaxImportedAreas) {
        throw VoyageError("The file holds " + std::to_string(result.areas.size()) +
                          " areas; the area grid takes at most " +
                          std::to_string(MaxImportedAreas) + ". Nothing has been imported.");
    }
    return result;
}

} // namespace tembrel
