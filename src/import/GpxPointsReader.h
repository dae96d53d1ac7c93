#pragma once

#include "ImportTypes.h"
#include "XmlGuard.h"

#include <QXmlStreamReader>

#include <cstddef>
#include <limits>
#include <string_view>

class QByteArray;

namespace tembrel {

// Points from a GPX document: its waypoints, track points and route points
// (the lat and lon attributes of wpt, trkpt and rtept), in document order.
// A point whose attributes are missing or not coordinates is reported with
// its line. A document that is not well-formed XML, or that XmlGuard
// refuses, is refused whole: VoyageError naming the line of the fault. The
// document may come in chunks; the reading stops at the first point beyond
// maxPoints.
class GpxPointsReader {
public:
    explicit GpxPointsReader(std::size_t maxPoints = std::numeric_limits<std::size_t>::max());
    GpxPointsReader(const GpxPointsReader&) = delete;
    GpxPointsReader& operator=(const GpxPointsReader&) = delete;

    // False once the limit is passed: feed no more.
    bool Feed(std::string_view chunk);
    PointsImport Finish();

    static PointsImport Read(const QByteArray& data);

private:
    bool ReadTokens();
    void StartElement();

    std::size_t maxPoints_;
    XmlGuard guard_;
    QXmlStreamReader xml_;
    PointsImport result_;
    bool stopped_ = false;
};

} // namespace tembrel
