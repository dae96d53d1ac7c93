#include "Camera.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tembrel::standin {

namespace {

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180;
}

double WrapLongitude(double longitude) {
    double wrapped = std::fmod(longitude + 180, 360);
    if (wrapped < 0) {
        wrapped += 360;
    }
    return wrapped - 180;
}

QString Number(double value) {
    return QString::number(value, 'f', 6);
}

} // namespace

BoundingBox BoxFor(const Camera& camera, const ScreenGeometry& screen) {
    const double halfWidth = camera.range * std::tan(Radians(screen.fieldOfViewDegrees / 2));
    const double halfHeight = halfWidth * screen.heightPixels / screen.widthPixels;
    const double halfLatitude = halfHeight / MetresPerDegree;
    const double cosine = std::cos(Radians(camera.latitude));
    BoundingBox box;
    box.south = std::max(camera.latitude - halfLatitude, -90.0);
    box.north = std::min(camera.latitude + halfLatitude, 90.0);
    const double halfLongitude = cosine > 1e-12 ? halfWidth / (MetresPerDegree * cosine) : 180;
    if (halfLongitude >= 180) {
        box.west = -180;
        box.east = 180;
    } else {
        box.west = WrapLongitude(camera.longitude - halfLongitude);
        box.east = WrapLongitude(camera.longitude + halfLongitude);
    }
    return box;
}

BoundingBox ScaledBox(const BoundingBox& box, double scale) {
    if (scale == 1) {
        return box;
    }
    const double middleLat = (box.south + box.north) / 2;
    const double halfLat = (box.north - box.south) / 2 * scale;
    // Across the antimeridian west is east of east: the width goes round.
    const double width = box.east >= box.west ? box.east - box.west : box.east + 360 - box.west;
    const double halfLon = width / 2 * scale;
    BoundingBox scaled;
    scaled.south = std::max(middleLat - halfLat, -90.0);
    scaled.north = std::min(middleLat + halfLat, 90.0);
    if (halfLon >= 180) {
        scaled.west = -180;
        scaled.east = 180;
    } else {
        const double middleLon = box.west + width / 2;
        scaled.west = WrapLongitude(middleLon - halfLon);
        scaled.east = WrapLongitude(middleLon + halfLon);
    }
    return scaled;
}

QString FillViewFormat(const QString& format, const Camera& camera, const ScreenGeometry& screen,
                       double boundScale) {
    const BoundingBox box = ScaledBox(BoxFor(camera, screen), boundScale);
    const double verticalFov = 2 *
                               std::atan(std::tan(Radians(screen.fieldOfViewDegrees / 2)) *
                                         screen.heightPixels / screen.widthPixels) *
                               180 / std::numbers::pi;
    const std::pair<const char*, QString> values[] = {
        {"lookatLon", Number(camera.longitude)},
        {"lookatLat", Number(camera.latitude)},
        {"lookatRange", Number(camera.range)},
        {"lookatTilt", Number(camera.tilt)},
        {"lookatHeading", Number(camera.heading)},
        {"bboxWest", Number(box.west)},
        {"bboxSouth", Number(box.south)},
        {"bboxEast", Number(box.east)},
        {"bboxNorth", Number(box.north)},
        {"horizPixels", QString::number(screen.widthPixels)},
        {"vertPixels", QString::number(screen.heightPixels)},
        {"horizFov", Number(screen.fieldOfViewDegrees)},
        {"vertFov", Number(verticalFov)},
    };
    static const QRegularExpression placeholder(QStringLiteral("\\[([A-Za-z]+)\\]"));
    QString result;
    qsizetype from = 0;
    for (auto it = placeholder.globalMatch(format); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        result += QStringView(format).mid(from, match.capturedStart() - from);
        const QString name = match.captured(1);
        const auto known =
            std::find_if(std::begin(values), std::end(values),
                         [&](const auto& value) { return name == QLatin1String(value.first); });
        result += known != std::end(values) ? known->second : match.captured();
        from = match.capturedEnd();
    }
    result += QStringView(format).mid(from);
    return result;
}

QUrl RequestUrl(const QUrl& href, const QString& query) {
    if (query.isEmpty()) {
        return href;
    }
    QUrl url = href;
    const QString existing = href.query(QUrl::FullyEncoded);
    url.setQuery(existing.isEmpty() ? query : existing + QLatin1Char('&') + query,
                 QUrl::TolerantMode);
    return url;
}

} // namespace tembrel::standin
