#pragma once

#include "ImportTypes.h"

class QByteArray;

namespace tembrel {

// Points from a KML document (any version): the coordinates "lon,lat[,alt]"
// of every Point inside a Placemark, in document order; lines, polygons and
// other geometries are passed over. A Point whose coordinates are not one
// such tuple is reported with its line. A document that is not well-formed
// XML is refused whole: VoyageError naming the line of the fault.
class KmlPointsReader {
public:
    static PointsImport Read(const QByteArray& data);
};

} // namespace tembrel
