#include "KmlPointsReader.h"

#include "ImportNumbers.h"
#include "VoyageErrors.h"
#include "XmlFault.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

namespace tembrel {

namespace {

// The point of one Point's coordinates text, or why there is none.
std::string ReadTuple(const QString& coordinates, ImportedPoint& point) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList tuples = coordinates.trimmed().split(blanks, Qt::SkipEmptyParts);
    if (tuples.size() != 1) {
        return "a Point needs one coordinate \"lon,lat[,alt]\", it has " +
               std::to_string(tuples.size());
    }
    const QStringList parts = tuples.front().split(QLatin1Char(','));
    if (parts.size() < 2 || parts.size() > 3) {
        return "coordinates " + ImportNumbers::Quoted(tuples.front().toStdString()) +
               " are not \"lon,lat[,alt]\"";
    }
    const std::string lonText = parts[0].toStdString();
    const std::string latText = parts[1].toStdString();
    const auto longitude = ImportNumbers::Parse(lonText, false);
    if (!longitude) {
        return "longitude " + ImportNumbers::Quoted(lonText) + " is not a number";
    }
    const auto latitude = ImportNumbers::Parse(latText, false);
    if (!latitude) {
        return "latitude " + ImportNumbers::Quoted(latText) + " is not a number";
    }
    if (std::string reason = ImportNumbers::LongitudeProblem(*longitude); !reason.empty()) {
        return reason;
    }
    if (std::string reason = ImportNumbers::LatitudeProblem(*latitude); !reason.empty()) {
        return reason;
    }
    point.longitude = *longitude;
    point.latitude = *latitude;
    return {};
}

} // namespace

PointsImport KmlPointsReader::Read(const QByteArray& data) {
    PointsImport result;
    QXmlStreamReader xml(data);
    int placemarks = 0; // open Placemark elements
    int pointLine = 0;  // line of the open Point, 0 when none is open
    bool pointRead = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringView name = xml.name();
        if (xml.isStartElement()) {
            if (name == QLatin1String("Placemark")) {
                ++placemarks;
            } else if (name == QLatin1String("Point") && placemarks > 0) {
                pointLine = static_cast<int>(xml.lineNumber());
                pointRead = false;
            } else if (name == QLatin1String("coordinates") && pointLine > 0 && !pointRead) {
                const int line = static_cast<int>(xml.lineNumber());
                const QString text = xml.readElementText(QXmlStreamReader::SkipChildElements);
                if (xml.hasError()) {
                    break;
                }
                pointRead = true;
                ImportedPoint point;
                point.line = line;
                if (std::string reason = ReadTuple(text, point); !reason.empty()) {
                    result.problems.push_back({line, std::move(reason)});
                } else {
                    result.points.push_back(point);
                }
            }
        } else if (xml.isEndElement()) {
            if (name == QLatin1String("Placemark") && placemarks > 0) {
                --placemarks;
            } else if (name == QLatin1String("Point") && pointLine > 0) {
                if (!pointRead) {
                    result.problems.push_back({pointLine, "a Point without coordinates"});
                }
                pointLine = 0;
            }
        }
    }
    if (xml.hasError()) {
        throw VoyageError(XmlFault(xml));
    }
    return result;
}

} // namespace tembrel
