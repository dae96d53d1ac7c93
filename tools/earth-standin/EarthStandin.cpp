#include "EarthStandin.h"

#include <QFile>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <memory>

namespace tembrel::standin {

namespace {

QString Number(double value) {
    return QString::number(value, 'f', 6);
}

} // namespace

QString FetchResult::Line(const ScreenGeometry& screen) const {
    const BoundingBox box = BoxFor(camera, screen);
    QString line =
        QStringLiteral("%1 %2 camera %3 %4 %5 %6 %7 bbox %8,%9,%10,%11 ")
            .arg(QString::number(elapsedSeconds, 'f', 3), status)
            .arg(Number(camera.longitude), Number(camera.latitude), Number(camera.range),
                 Number(camera.tilt), Number(camera.heading))
            .arg(Number(box.west), Number(box.south), Number(box.east), Number(box.north));
    if (view) {
        return line +
               QStringLiteral("view %1 %2 %3").arg(view->longitude, view->latitude, view->range);
    }
    QString why = reason;
    why.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line + QStringLiteral("reason ") + why;
}

EarthStandin::EarthStandin(NetworkLink link, Camera camera, StandinOptions options, QObject* parent)
    : QObject(parent), link_(std::move(link)), camera_(camera), options_(options) {
    // Loopback needs no proxy, whatever the environment says.
    network_.setProxy(QNetworkProxy::NoProxy);
    period_.setTimerType(Qt::PreciseTimer);
    connect(&period_, &QTimer::timeout, this, [this] { Fetch(FetchTrigger::Time); });
    stopped_.setTimerType(Qt::PreciseTimer);
    stopped_.setSingleShot(true);
    connect(&stopped_, &QTimer::timeout, this, [this] { Fetch(FetchTrigger::CameraStop); });
}

void EarthStandin::Start() {
    clock_.start();
    if (link_.Periodic()) {
        period_.start(static_cast<int>(link_.refreshIntervalSeconds * 1000));
    }
    Fetch(FetchTrigger::Time);
}

void EarthStandin::Refresh() {
    Fetch(FetchTrigger::UserRequest);
}

void EarthStandin::Fetch(FetchTrigger trigger) {
    if (inFlight_ != nullptr) {
        return; // the last one is still under way
    }
    if (link_.IsLocalFile()) {
        // "If the file specified in <href> is a local file, the <viewFormat>
        // and <httpQuery> elements are not used."
        FetchFile(trigger);
    } else {
        FetchHttp(RequestUrl(link_.href, FillViewFormat(link_.QueryFormat(), camera_,
                                                        options_.screen, link_.viewBoundScale)),
                  trigger);
    }
}

void EarthStandin::Land(const Camera& target) {
    const bool moves = target.longitude != camera_.longitude ||
                       target.latitude != camera_.latitude || target.range != camera_.range ||
                       target.tilt != camera_.tilt || target.heading != camera_.heading;
    camera_ = target;
    if (moves && link_.RefreshesOnStop() && !link_.IsLocalFile()) {
        // A later stop puts the fetch off again.
        stopped_.start(static_cast<int>(link_.viewRefreshTimeSeconds * 1000));
    }
}

void EarthStandin::FetchFile(FetchTrigger trigger) {
    FetchResult result;
    result.trigger = trigger;
    result.url = link_.href;
    QFile file(link_.href.toLocalFile());
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = QStringLiteral("failed");
        result.reason = file.errorString();
        Finish(result, nullptr);
        return;
    }
    const QByteArray body = file.read(options_.maxResponseBytes + 1);
    result.status = QStringLiteral("file");
    if (body.size() > options_.maxResponseBytes) {
        result.status = QStringLiteral("failed");
        result.reason = QStringLiteral("over %1 bytes").arg(options_.maxResponseBytes);
        Finish(result, nullptr);
        return;
    }
    Finish(result, &body);
}

void EarthStandin::FetchHttp(const QUrl& url, FetchTrigger trigger) {
    QNetworkRequest request(url);
    request.setTransferTimeout(options_.timeoutMilliseconds);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("earth-standin"));
    QNetworkReply* reply = network_.get(request);
    inFlight_ = reply;
    auto body = std::make_shared<QByteArray>();
    auto tooLarge = std::make_shared<bool>(false);
    connect(reply, &QNetworkReply::readyRead, this, [this, reply, body, tooLarge] {
        const QByteArray chunk = reply->read(options_.maxResponseBytes + 1 - body->size());
        body->append(chunk);
        if (body->size() > options_.maxResponseBytes) {
            *tooLarge = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, url, trigger, body, tooLarge] {
        reply->deleteLater();
        inFlight_ = nullptr;
        FetchResult result;
        result.trigger = trigger;
        result.url = url;
        const QVariant code = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (*tooLarge) {
            result.status = QStringLiteral("failed");
            result.reason = QStringLiteral("over %1 bytes").arg(options_.maxResponseBytes);
            Finish(result, nullptr);
            return;
        }
        if (!code.isValid()) {
            result.status = QStringLiteral("failed");
            result.reason = reply->error() == QNetworkReply::OperationCanceledError
                                ? QStringLiteral("timed out")
                                : reply->errorString();
            Finish(result, nullptr);
            return;
        }
        result.status = QString::number(code.toInt());
        if (code.toInt() != 200) {
            result.reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
            Finish(result, nullptr);
            return;
        }
        if (reply->error() != QNetworkReply::NoError) {
            result.reason = reply->errorString();
            Finish(result, nullptr);
            return;
        }
        body->append(reply->read(options_.maxResponseBytes + 1 - body->size()));
        if (body->size() > options_.maxResponseBytes) {
            result.status = QStringLiteral("failed");
            result.reason = QStringLiteral("over %1 bytes").arg(options_.maxResponseBytes);
            Finish(result, nullptr);
            return;
        }
        Finish(result, body.get());
    });
}

void EarthStandin::Finish(FetchResult result, const QByteArray* body) {
    result.elapsedSeconds = static_cast<double>(clock_.nsecsElapsed()) / 1e9;
    if (body != nullptr) {
        QString error;
        result.view = ViewFileParser::Parse(*body, &error);
        if (!result.view) {
            result.reason = QStringLiteral("unreadable: ") + error;
        }
    }
    if (result.view && Flies()) {
        Camera target;
        target.longitude = result.view->longitudeValue;
        target.latitude = result.view->latitudeValue;
        target.range = result.view->rangeValue;
        target.tilt = result.view->tiltValue;
        target.heading = result.view->headingValue;
        if (options_.flyDelayMilliseconds <= 0) {
            Land(target);
        } else {
            // Each flight lands in turn; a later view lands after it.
            QTimer::singleShot(options_.flyDelayMilliseconds, Qt::PreciseTimer, this,
                               [this, target] { Land(target); });
        }
    }
    result.camera = camera_;
    Q_EMIT Fetched(result);
}

} // namespace tembrel::standin
