#pragma once

#include "Camera.h"
#include "NetworkLink.h"
#include "ViewFileParser.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <optional>

class QNetworkReply;

namespace tembrel::standin {

struct StandinOptions {
    ScreenGeometry screen;
    bool fly = true;                 // false: stays put, as with fly-to-view off
    int flyDelayMilliseconds = 0;    // from the answer to the camera's arrival
    int timeoutMilliseconds = 10000; // for each fetch
    qint64 maxResponseBytes = 64 * 1024;
};

// What started a fetch: the refresh interval (or the one fetch of a link
// that does not refresh on one), the camera's stop, or the user's request.
enum class FetchTrigger { Time, CameraStop, UserRequest };

// One fetch: what came back, and where the camera is once it has been handled.
struct FetchResult {
    double elapsedSeconds = 0; // since Start()
    FetchTrigger trigger = FetchTrigger::Time;
    QUrl url;
    // The HTTP status ("200", "404"...), "file" for a local file read, or
    // "failed" when nothing usable came back.
    QString status;
    std::optional<LookAtView> view; // the view read, if any
    QString reason;                 // why there is none
    Camera camera;

    // One line: ELAPSED STATUS camera LON LAT RANGE TILT HEADING
    // bbox W,S,E,N, then "view LON LAT RANGE" or "reason TEXT".
    QString Line(const ScreenGeometry& screen) const;
};

// Google Earth as far as a network link goes, by the KML reference's words:
// fetches the link's href at once and then every refresh interval (once only
// unless the link refreshes on an interval), never two at a time; appends the
// viewFormat filled from its camera only when the link's viewRefreshMode is
// not never; flies to the view it reads, after a delay, when the link and the
// options let it; and under onStop fetches again viewRefreshTime seconds
// after its camera stops (a flight that lands where the camera is moves
// nothing, so it asks for no fetch).
class EarthStandin : public QObject {
    Q_OBJECT
public:
    EarthStandin(NetworkLink link, Camera camera, StandinOptions options,
                 QObject* parent = nullptr);

    void Start();
    // The user's "Refresh" on the link.
    void Refresh();
    const Camera& CurrentCamera() const { return camera_; }
    bool Flies() const { return options_.fly && link_.flyToView; }

Q_SIGNALS:
    void Fetched(const tembrel::standin::FetchResult& result);

private:
    void Fetch(FetchTrigger trigger);
    void Land(const Camera& target);
    void FetchFile(FetchTrigger trigger);
    void FetchHttp(const QUrl& url, FetchTrigger trigger);
    void Finish(FetchResult result, const QByteArray* body);

    NetworkLink link_;
    Camera camera_;
    StandinOptions options_;
    QNetworkAccessManager network_;
    QTimer period_;
    QTimer stopped_; // from the camera's stop to the view-based fetch
    QElapsedTimer clock_;
    QPointer<QNetworkReply> inFlight_;
};

} // namespace tembrel::standin
