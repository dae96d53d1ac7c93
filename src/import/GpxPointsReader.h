#pragma once

#include "ImportTypes.h"

class QByteArray;

namespace tembrel {

// Points from a GPX document: its waypoints, track points and route points
// (the lat and lon attributes of wpt, trkpt and rtept), in document order.
// A point whose attributes are missing or not coordinates is reported with
// its line. A document that is not well-formed XML is refused whole:
// VoyageError naming the line of the fault.
class GpxPointsReader {
public:
    static PointsImport Read(const QByteArray& data);
};

} // namespace tembrel
