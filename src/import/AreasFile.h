#pragma once

#include "ImportFileData.h"
#include "ImportTypes.h"

class QByteArray;
class QString;

namespace tembrel {

// A CSV file of areas for the grid, read as a stream that stops at the first
// limit it meets. Refused whole, with VoyageError and a message for the
// user: a file that cannot be read, one larger than MaxFileBytes, a zip
// archive (a KMZ, say), and more than MaxImportedAreas areas.
class AreasFile {
public:
    static constexpr long long MaxFileBytes = 4ll * 1024 * 1024;

    // The result says whether the user cancelled the reading.
    static AreasImport Read(const QString& path, const ImportProgress& progress = {});
    static AreasImport Parse(const QByteArray& data);
};

} // namespace tembrel
