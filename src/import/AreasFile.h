#pragma once

#include "ImportTypes.h"

class QByteArray;
class QString;

namespace tembrel {

// A CSV file of areas for the grid. Refused whole, with VoyageError and a
// message for the user: a file that cannot be read, one larger than
// MaxFileBytes, and more than MaxImportedAreas areas.
class AreasFile {
public:
    static constexpr long long MaxFileBytes = 4ll * 1024 * 1024;

    static AreasImport Read(const QString& path);
    static AreasImport Parse(const QByteArray& data);
};

} // namespace tembrel
