#include "VoyageReport.h"

#include "KmlStream.h"

#include <QString>

#include <cstdio>

namespace tembrel {

namespace {

std::string Degrees(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(value));
    return text;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

std::string VoyageReport::MissedPoints(const std::vector<Arrival>& views) {
    std::string csv = "longitude,latitude\r\n";
    for (const Arrival& view : views) {
        if (!view.reached) {
            csv += Degrees(view.lon) + ',' + Degrees(view.lat) + "\r\n";
        }
    }
    return csv;
}

std::string VoyageReport::ReportedBoxes(const std::vector<Arrival>& views) {
    KmlStream kml;
    QXmlStreamWriter& xml = kml.Xml();
    xml.writeStartElement(QStringLiteral("Document"));
    xml.writeTextElement(QStringLiteral("name"), QStringLiteral("Tembrel voyage report"));
    xml.writeStartElement(QStringLiteral("Style"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("reported"));
    xml.writeStartElement(QStringLiteral("LineStyle"));
    xml.writeTextElement(QStringLiteral("color"), QStringLiteral("ffff8000"));
    xml.writeTextElement(QStringLiteral("width"), QStringLiteral("1"));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("PolyStyle"));
    xml.writeTextElement(QStringLiteral("fill"), QStringLiteral("0"));
    xml.writeEndElement();
    xml.writeEndElement();
    std::size_t number = 0;
    for (const Arrival& view : views) {
        ++number;
        if (!view.reached) {
            continue;
        }
        const std::string w = Degrees(view.west);
        const std::string s = Degrees(view.south);
        const std::string e = Degrees(view.east);
        const std::string n = Degrees(view.north);
        xml.writeStartElement(QStringLiteral("Placemark"));
        xml.writeTextElement(QStringLiteral("name"), QStringLiteral("View %1").arg(number));
        xml.writeTextElement(QStringLiteral("styleUrl"), QStringLiteral("#reported"));
        xml.writeStartElement(QStringLiteral("Polygon"));
        xml.writeStartElement(QStringLiteral("outerBoundaryIs"));
        xml.writeStartElement(QStringLiteral("LinearRing"));
        xml.writeTextElement(QStringLiteral("coordinates"),
                             Text(w + ',' + s + ",0 " + e + ',' + s + ",0 " + e + ',' + n + ",0 " +
                                  w + ',' + n + ",0 " + w + ',' + s + ",0"));
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
    }
    return kml.Finish();
}

} // namespace tembrel
