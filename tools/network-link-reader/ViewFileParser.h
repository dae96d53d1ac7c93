#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tembrel {

// What Google Earth takes from a view file: the LookAt it flies to.
struct LookAtView {
    QString longitude; // the texts as written in the file
    QString latitude;
    QString range;
    double longitudeValue = 0;
    double latitudeValue = 0;
    double rangeValue = 0;
    double tiltValue = 0;
    double headingValue = 0;
};

// Reads a view file the way a network link does: a KML 2.0 document in the
// published namespace holding one Placemark with one LookAt whose longitude,
// latitude, range, tilt and heading are numbers. The computed values may
// carry "." or "," as decimal separator (the writer uses the regional one);
// tilt and heading are always written with ".".
class ViewFileParser {
public:
    static constexpr const char* KmlNamespace = "http://earth.google.com/kml/2.0";

    // The view, or std::nullopt with the reason in *error.
    static std::optional<LookAtView> Parse(const QByteArray& document, QString* error);

    // A number as the writer writes it: optional "-", digits, optionally the
    // separator and digits, optionally "E", an optional "-" and digits.
    static std::optional<double> ParseNumber(const QString& text, bool allowComma);
};

} // namespace tembrel
