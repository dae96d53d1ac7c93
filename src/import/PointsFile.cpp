#include "PointsFile.h"

#include "CsvPointsReader.h"
#include "GpxPointsReader.h"
#include "KmlPointsReader.h"
#include "VoyageErrors.h"

#include <QByteArray>
#include <QFileInfo>
#include <QString>

#include <string_view>

namespace tembrel {

namespace {

// Reads with one of the readers, fed by source; refuses a file that holds
// more points than the memo takes, without reading past the first of them.
template <class Reader, class Source> PointsImport ReadWith(Source&& source) {
    Reader reader(MaxImportedPoints);
    if (!source([&](std::string_view chunk) { return reader.Feed(chunk); })) {
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

template <class Source> PointsImport ReadKind(PointsFile::Kind kind, Source&& source) {
    switch (kind) {
    case PointsFile::Kind::Gpx:
        return ReadWith<GpxPointsReader>(source);
    case PointsFile::Kind::Kml:
        return ReadWith<KmlPointsReader>(source);
    case PointsFile::Kind::Csv:
        break;
    }
    return ReadWith<CsvPointsReader>(source);
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
    return ReadKind(KindOf(path), [&](const std::function<bool(std::string_view)>& consume) {
        return ImportFileData::Read(path, MaxFileBytes, progress, consume);
    });
}

PointsImport PointsFile::Parse(const QByteArray& data, Kind kind) {
    return ReadKind(kind, [&](const std::function<bool(std::string_view)>& consume) {
        consume(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
        return true;
    });
}

} // namespace tembrel
