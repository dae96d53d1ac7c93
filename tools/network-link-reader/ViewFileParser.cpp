#include "ViewFileParser.h"

#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

#include <map>

namespace tembrel {

namespace {

const QString LookAtFields[] = {QStringLiteral("longitude"), QStringLiteral("latitude"),
                                QStringLiteral("range"), QStringLiteral("tilt"),
                                QStringLiteral("heading")};

bool IsLookAtField(QStringView name) {
    for (const QString& field : LookAtFields) {
        if (name == field) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<double> ViewFileParser::ParseNumber(const QString& text, bool allowComma) {
    static const QRegularExpression withPoint(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?(E-?[0-9]+)?$"));
    static const QRegularExpression withComma(QStringLiteral("^-?[0-9]+(,[0-9]+)?(E-?[0-9]+)?$"));
    QString canonical = text;
    if (withPoint.match(text).hasMatch()) {
        // as written
    } else if (allowComma && withComma.match(text).hasMatch()) {
        canonical.replace(QLatin1Char(','), QLatin1Char('.'));
    } else {
        return std::nullopt;
    }
    bool ok = false;
    const double value = canonical.toDouble(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return value;
}

std::optional<LookAtView> ViewFileParser::Parse(const QByteArray& document, QString* error) {
    auto fail = [error](const QString& why) -> std::optional<LookAtView> {
        if (error != nullptr) {
            *error = why;
        }
        return std::nullopt;
    };
    if (document.isEmpty()) {
        return fail(QStringLiteral("empty file"));
    }

    QXmlStreamReader xml(document);
    int placemarks = 0;
    int lookAts = 0;
    bool sawKml = false;
    std::map<QString, QString> fields;
    // The open elements: a view counts only as a LookAt of the Placemark, and
    // its numbers only as the LookAt's own children.
    QStringList open;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            open.removeLast();
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        const QString name = xml.name().toString();
        const QString parent = open.isEmpty() ? QString() : open.last();
        if (!sawKml) {
            if (name != QLatin1String("kml")) {
                return fail(QStringLiteral("root element is not kml"));
            }
            if (xml.namespaceUri() != QLatin1String(KmlNamespace)) {
                return fail(QStringLiteral("not the KML 2.0 namespace: '%1'")
                                .arg(xml.namespaceUri().toString()));
            }
            sawKml = true;
        } else if (name == QLatin1String("Placemark")) {
            ++placemarks;
        } else if (name == QLatin1String("LookAt")) {
            if (parent != QLatin1String("Placemark")) {
                return fail(QStringLiteral("LookAt outside the Placemark"));
            }
            ++lookAts;
        } else if (parent == QLatin1String("LookAt") && IsLookAtField(name)) {
            if (fields.count(name) != 0) {
                return fail(QStringLiteral("%1 given twice").arg(name));
            }
            // Reading the text consumes the element's end as well.
            fields[name] = xml.readElementText();
            continue;
        }
        open.append(name);
    }
    if (xml.hasError()) {
        return fail(QStringLiteral("XML error at line %1: %2")
                        .arg(xml.lineNumber())
                        .arg(xml.errorString()));
    }
    if (!sawKml) {
        return fail(QStringLiteral("no kml element"));
    }
    if (placemarks != 1) {
        return fail(QStringLiteral("%1 Placemark elements, expected one").arg(placemarks));
    }
    if (lookAts != 1) {
        return fail(QStringLiteral("%1 LookAt elements, expected one").arg(lookAts));
    }

    LookAtView view;
    for (const QString& field : LookAtFields) {
        const auto found = fields.find(field);
        if (found == fields.end()) {
            return fail(QStringLiteral("LookAt has no %1").arg(field));
        }
        const bool computed = field != QLatin1String("tilt") && field != QLatin1String("heading");
        const std::optional<double> value = ParseNumber(found->second, computed);
        if (!value) {
            return fail(QStringLiteral("%1 is not a number: '%2'").arg(field, found->second));
        }
        if (field == QLatin1String("longitude")) {
            view.longitude = found->second;
            view.longitudeValue = *value;
        } else if (field == QLatin1String("latitude")) {
            view.latitude = found->second;
            view.latitudeValue = *value;
        } else if (field == QLatin1String("range")) {
            view.range = found->second;
            view.rangeValue = *value;
        } else if (field == QLatin1String("tilt")) {
            view.tiltValue = *value;
        } else {
            view.headingValue = *value;
        }
    }
    return view;
}

} // namespace tembrel
