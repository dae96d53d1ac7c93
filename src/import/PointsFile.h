#pragma once

#include "ImportFileData.h"
#include "ImportTypes.h"

class QByteArray;
class QString;

namespace tembrel {

// A file of points for the memo, read by its kind: GPX (".gpx"), KML
// (".kml") or CSV (anything else), as a stream that stops at the first limit
// it meets. Refused whole, with VoyageError and a message for the user: a
// file that cannot be read, one larger than MaxFileBytes, a zip archive (a
// KMZ, say), XML that is not well-formed or too deep or wide, and more than
// MaxImportedPoints points.
class PointsFile {
public:
    enum class Kind { Csv, Gpx, Kml };

    static constexpr long long MaxFileBytes = 64ll * 1024 * 1024;

    static Kind KindOf(const QString& path);
    // The result says whether the user cancelled the reading.
    static PointsImport Read(const QString& path, const ImportProgress& progress = {});
    static PointsImport Parse(const QByteArray& data, Kind kind);
};

} // namespace tembrel
