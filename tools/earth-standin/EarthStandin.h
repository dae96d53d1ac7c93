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

// One fetch: what came back, and where the camera is once it has been handled.
struct FetchResult {
    double elapsedSeconds = 0; // since Start()
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

// Google Earth as far as a network link goes: fetches the link's href at once
// and then every refresh interval (once only unless the link refreshes on an
// interval), never two at a time, with the viewFormat filled from its camera;
// then flies to the view it reads, after a delay, when the link and the
// options let it.
class EarthStandin : public QObject {
    Q_OBJECT
public:
    EarthStandin(NetworkLink link, Camera camera, StandinOptions options,
                 QObject* parent = nullptr);

    void Start();
    const Camera& CurrentCamera() const { return camera_; }
    bool Flies() const { return options_.fly && link_.flyToView; }

Q_SIGNALS:
    void Fetched(const tembrel::standin::FetchResult& result);

private:
    void Fetch();
    void FetchFile();
    void FetchHttp(const QUrl& url);
    void Finish(FetchResult result, const QByteArray* body);

    NetworkLink link_;
    Camera camera_;
    StandinOptions options_;
    QNetworkAccessManager network_;
    QTimer period_;
    QElapsedTimer clock_;
    QPointer<QNetworkReply> inFlight_;
};

} // namespace tembrel::standin
