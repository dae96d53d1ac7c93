#pragma once

#include "XmlPointsReader.h"

#include <cstddef>
#include <limits>
#include <string_view>

namespace tembrel {

// Points from a GPX document: its waypoints, track points and route points
// (the lat and lon attributes of wpt, trkpt and rtept), in document order.
// A point whose attributes are missing or not coordinates is reported with
// its line. A document that is not well-formed XML, or that XmlGuard
// refuses, is refused whole: VoyageError naming the line of the fault. The
// document may come in chunks; the reading stops at the first point beyond
// maxPoints.
class GpxPointsReader final : public XmlPointsReader {
public:
    explicit GpxPointsReader(std::size_t maxPoints = std::numeric_limits<std::size_t>::max());

    static PointsImport Read(const QByteArray& data) { return ReadWhole<GpxPointsReader>(data); }

private:
    void OnToken() override;
};

} // namespace tembrel
