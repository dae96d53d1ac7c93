#include "GpxPointsReader.h"

#include "ImportNumbers.h"
#include "VoyageErrors.h"
#include "XmlFault.h"

#include <QByteArray>

namespace tembrel {

GpxPointsReader::GpxPointsReader(std::size_t maxPoints) : maxPoints_(maxPoints) {}

PointsImport GpxPointsReader::Read(const QByteArray& data) {
    GpxPointsReader reader;
    reader.Feed(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
    return reader.Finish();
}

bool GpxPointsReader::Feed(std::string_view chunk) {
    if (stopped_) {
        return false;
    }
    guard_.Scan(chunk);
    xml_.addData(QByteArray(chunk.data(), static_cast<qsizetype>(chunk.size())));
    return ReadTokens();
}

PointsImport GpxPointsReader::Finish() {
    if (!stopped_ && ReadTokens() && xml_.hasError()) {
        // Now that no more data comes, a premature end is a fault too.
        throw VoyageError(XmlFault(xml_));
    }
    return std::move(result_);
}

bool GpxPointsReader::ReadTokens() {
    while (!xml_.atEnd()) {
        xml_.readNext();
        if (xml_.isStartElement()) {
            StartElement();
            if (result_.points.size() > maxPoints_) {
                stopped_ = true;
                return false;
            }
        }
    }
    if (xml_.hasError() && xml_.error() != QXmlStreamReader::PrematureEndOfDocumentError) {
        throw VoyageError(XmlFault(xml_));
    }
    return true;
}

void GpxPointsReader::StartElement() {
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
