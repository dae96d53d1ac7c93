#pragma once

#include "XmlPointsReader.h"

#include <QString>

#include <cstddef>
#include <limits>
#include <string_view>

namespace tembrel {

// Points from a KML document (any version): the coordinates "lon,lat[,alt]"
// of every Point inside a Placemark, in document order; lines, polygons and
// tracks are only counted, other geometries passed over. A Point whose coordinates are not one
// such tuple is reported with its line. A document that is not well-formed
// XML, or that XmlGuard refuses, is refused whole: VoyageError naming the
// line of the fault. The document may come in chunks; the reading stops at
// the first point beyond maxPoints.
class KmlPointsReader final : public XmlPointsReader {
public:
    // A Point's coordinates longer than this are not held.
    static constexpr qsizetype MaxCoordinatesChars = 64 * 1024;

    explicit KmlPointsReader(std::size_t maxPoints = std::numeric_limits<std::size_t>::max());

    static PointsImport Read(const QByteArray& data) { return ReadWhole<KmlPointsReader>(data); }

private:
    void OnToken() override;
    void EndCoordinates();
    // A geometry of a Placemark that is no Point, counted for the user.
    void CountShape(QStringView name);

    int placemarks_ = 0; // open Placemark elements
    int polygons_ = 0;   // open Polygon elements
    int pointLine_ = 0;  // line of the open Point, 0 when none is open
    bool pointRead_ = false;
    // The coordinates element being read: its line (0 when none), the
    // depth of elements inside it, and its own text so far.
    int coordinatesLine_ = 0;
    int childDepth_ = 0;
    QString coordinates_;
    bool coordinatesTooLong_ = false;
};

} // namespace tembrel
