#include "GpxPointsReader.h"

#include "ImportNumbers.h"

namespace tembrel {

GpxPointsReader::GpxPointsReader(std::size_t maxPoints) : XmlPointsReader(maxPoints) {}

void GpxPointsReader::OnToken() {
    if (!xml_.isStartElement()) {
        return;
    }
    const QStringView name = xml_.name();
    if (name != QLatin1String("wpt") && name != QLatin1String("trkpt") &&
        name != QLatin1String("rtept")) {
        return;
    }
    const int line = static_cast<int>(xml_.lineNumber());
    const std::string element = name.toString().toStdString();
    const QXmlStreamAttributes attributes = xml_.attributes();
    if (!attributes.hasAttribute(QLatin1String("lat")) ||
        !attributes.hasAttribute(QLatin1String("lon"))) {
        NoteProblem(result_, line, element + " without lat and lon");
        return;
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
        NoteProblem(result_, line, std::move(reason));
        return;
    }
    result_.points.push_back({*longitude, *latitude, line});
}

} // namespace tembrel
