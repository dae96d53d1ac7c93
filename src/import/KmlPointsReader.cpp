#include "KmlPointsReader.h"

#include "ImportNumbers.h"
#include "VoyageErrors.h"
#include "XmlFault.h"

#include <QByteArray>
#include <QStringList>
#include <QXmlStreamReader>

namespace tembrel {

namespace {

// The point of one Point's coordinates text, or why there is none.
std::string ReadTuple(const QString& coordinates, ImportedPoint& point) {
    // No regular expression: this runs on a reader thread, and in the static
    // MinGW build the expression engine's per-thread clean-up reads storage
    // already freed when such a thread ends (a crash on Windows).
    const QStringList tuples = coordinates.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
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

KmlPointsReader::KmlPointsReader(std::size_t maxPoints) : XmlPointsReader(maxPoints) {}

void KmlPointsReader::OnToken() {
    const QStringView name = xml_.name();
    if (coordinatesLine_ > 0) {
        // Inside coordinates: its own text only, child elements skipped.
        if (xml_.isStartElement()) {
            ++childDepth_;
        } else if (xml_.isEndElement() && childDepth_ > 0) {
            --childDepth_;
        } else if (xml_.isEndElement()) {
            EndCoordinates();
        } else if (xml_.isCharacters() && childDepth_ == 0 && !coordinatesTooLong_) {
            coordinates_ += xml_.text();
            if (coordinates_.size() > MaxCoordinatesChars) {
                coordinatesTooLong_ = true;
                coordinates_.clear();
            }
        }
    } else if (xml_.isStartElement()) {
        if (name == QLatin1String("Placemark")) {
            ++placemarks_;
        } else if (name == QLatin1String("Point") && placemarks_ > 0) {
            pointLine_ = static_cast<int>(xml_.lineNumber());
            pointRead_ = false;
        } else if (name == QLatin1String("coordinates") && pointLine_ > 0 && !pointRead_) {
            coordinatesLine_ = static_cast<int>(xml_.lineNumber());
            childDepth_ = 0;
            coordinates_.clear();
            coordinatesTooLong_ = false;
        } else if (placemarks_ > 0) {
            CountShape(name);
        }
    } else if (xml_.isEndElement()) {
        if (name == QLatin1String("Polygon") && polygons_ > 0) {
            --polygons_;
        } else if (name == QLatin1String("Placemark") && placemarks_ > 0) {
            --placemarks_;
        } else if (name == QLatin1String("Point") && pointLine_ > 0) {
            if (!pointRead_) {
                NoteProblem(result_, pointLine_, "a Point without coordinates");
            }
            pointLine_ = 0;
        }
    }
}

void KmlPointsReader::CountShape(QStringView name) {
    OtherShapes& shapes = result_.shapes;
    if (name == QLatin1String("LineString")) {
        ++shapes.paths;
    } else if (name == QLatin1String("Polygon")) {
        ++shapes.polygons;
        ++polygons_;
    } else if (name == QLatin1String("LinearRing") && polygons_ == 0) {
        ++shapes.paths; // a closed line of its own, not a polygon's boundary
    } else if (name == QLatin1String("Track")) {
        ++shapes.tracks;
    }
}

void KmlPointsReader::EndCoordinates() {
    const int line = coordinatesLine_;
    coordinatesLine_ = 0;
    pointRead_ = true;
    if (coordinatesTooLong_) {
        NoteProblem(result_, line,
                    "coordinates longer than " + std::to_string(MaxCoordinatesChars) +
                        " characters");
        return;
    }
    ImportedPoint point;
    point.line = line;
    if (std::string reason = ReadTuple(coordinates_, point); !reason.empty()) {
        NoteProblem(result_, line, std::move(reason));
    } else {
        result_.points.push_back(point);
    }
}

} // namespace tembrel
