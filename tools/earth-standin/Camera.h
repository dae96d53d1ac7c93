#pragma once

#include <QString>
#include <QUrl>

namespace tembrel::standin {

// Where the stand-in's camera looks: a LookAt in degrees and metres.
struct Camera {
    double longitude = 0;
    double latitude = 0;
    double range = 1000;
    double tilt = 0;
    double heading = 0;
};

// What the camera's picture covers: a horizontal field of view and a window.
struct ScreenGeometry {
    double fieldOfViewDegrees = 60;
    int widthPixels = 1000;
    int heightPixels = 700;
};

struct BoundingBox {
    double west = 0;
    double south = 0;
    double east = 0;
    double north = 0;
};

// Metres of ground per degree of latitude, and of longitude at the equator.
inline constexpr double MetresPerDegree = 111320;

// The ground the camera sees looking straight down (its tilt is not used):
// a half-width of range·tan(fov/2) metres, a half-height of that times
// height/width, turned into degrees at the camera's latitude. Latitudes stop
// at the poles; a box as wide as the world, or one at a pole, spans all
// longitudes; other longitudes are brought into -180..180 (so west may then
// be east of east, as across the antimeridian).
BoundingBox BoxFor(const Camera& camera, const ScreenGeometry& screen);

// The box scaled about its centre by a link's viewBoundScale.
BoundingBox ScaledBox(const BoundingBox& box, double scale);

// A viewFormat with its placeholders ([lookatLon], [bboxWest], [horizPixels],
// ...) replaced by the camera's values, numbers with "." as decimal point,
// the box scaled by `boundScale`. Unknown placeholders stay as written.
QString FillViewFormat(const QString& format, const Camera& camera, const ScreenGeometry& screen,
                       double boundScale = 1);

// The href with the filled query appended after "?", or after "&" when the
// href has a query already; the href alone when the query is empty.
QUrl RequestUrl(const QUrl& href, const QString& query);

} // namespace tembrel::standin
