#include "GpxPointsReader.h"

#include "ImportNumbers.h"
#include "VoyageErrors.h"
#include "XmlFault.h"

#include <QByteArray>
#include <QXmlStreamReader>

namespace tembrel {

PointsImport GpxPointsReader::Read(const QByteArray& data) {
    PointsImport result;
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            continue;
        }
        const QStringView name = xml.name();
        if (name != QLatin1String("wpt") && name != QLatin1String("trkpt") &&
            name != QLatin1String("rtept")) {
            continue;
        }
        const int line = static_cast<int>(xml.lineNumber());
        const std::string element = name.toString().toStdString();
        const QXmlStreamAttributes attributes = xml.attributes();
        if (!attributes.hasAttribute(QLatin1String("lat")) ||
            !attributes.hasAttribute(QLatin1String("lon"))) {
            result.problems.push_back({line, element + " without lat and lon"});
            continue;
        }
        const std::string latText = attributes.value(QLatin1String("lat")).toString().toStdString();
        const std::string lonText = attributes.value(QLatin1String("lon")).toString().toStdString();
        const auto latitude = ImportNumbers::Parse(latText, false);
        const auto longitude = ImportNumbers::Parse(lonText, false);
        std::string reason;
        if (!latitude) {
            reason = "latitude " + ImportNumbers::Quoted(latText) + " is not a number";
        } else if (!longitude) {
            reason = "longitude " + ImportNumbers::Quoted(lonText) + " is not a number";
        } else if (reason = ImportNumbers::LatitudeProblem(*latitude); reason.empty()) {
            reason = ImportNumbers::LongitudeProblem(*longitude);
        }
        if (!reason.empty()) {
            result.problems.push_back({line, std::move(reason)});
            continue;
        }
        result.points.push_back({*longitude, *latitude, line});
    }
    if (xml.hasError()) {
        throw VoyageError(XmlFault(xml));
    }
    return result;
}

} // namespace tembrel
