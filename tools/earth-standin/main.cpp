// earth-standin: stands in for Google Earth on the other end of a network
// link file. It fetches the link once per refresh interval, with the
// viewFormat filled from its own camera where the link's viewRefreshMode lets
// Google Earth send it (and again after its camera stops, under onStop),
// flies to the view it reads (after a delay, or not at all) and prints one
// line per fetch.

#include "EarthStandin.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>

using tembrel::standin::Camera;
using tembrel::standin::EarthStandin;
using tembrel::standin::FetchResult;
using tembrel::standin::NetworkLink;
using tembrel::standin::StandinOptions;

namespace {

int Usage() {
    std::fputs("usage: earth-standin [options] LINK_FILE\n"
               "  Fetches the network link in LINK_FILE as Google Earth does and prints one\n"
               "  line per fetch:\n"
               "    ELAPSED STATUS camera LON LAT RANGE TILT HEADING bbox W,S,E,N\n"
               "      then 'view LON LAT RANGE' or 'reason TEXT'\n"
               "  STATUS is the HTTP status, 'file' for a local file, or 'failed'.\n"
               "options:\n"
               "  --count N          stop after N fetches (default: until killed)\n"
               "  --fly-delay S      seconds from a view's arrival to the camera's (default 0)\n"
               "  --no-fly           never fly to the views (fly to view off)\n"
               "  --fov DEGREES      horizontal field of view (default 60)\n"
               "  --window WxH       window size in pixels (default 1000x700)\n"
               "  --camera LON,LAT,RANGE  where the camera starts (default 0,0,1000)\n"
               "  --timeout S        time allowed for each fetch (default 10)\n"
               "  --max-bytes N      largest answer read (default 65536)\n",
               stderr);
    return 2;
}

bool ParsePositive(const QString& text, double* value) {
    bool ok = false;
    *value = text.toDouble(&ok);
    return ok && *value > 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    StandinOptions options;
    Camera camera;
    long long count = -1;
    QString path;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        bool ok = true;
        double number = 0;
        const bool hasValue = !args.isEmpty();
        if (arg == QLatin1String("--no-fly")) {
            options.fly = false;
        } else if (arg == QLatin1String("--count") && hasValue) {
            count = args.takeFirst().toLongLong(&ok);
            ok = ok && count > 0;
        } else if (arg == QLatin1String("--fly-delay") && hasValue) {
            number = args.takeFirst().toDouble(&ok);
            ok = ok && number >= 0 && number < 86400;
            options.flyDelayMilliseconds = static_cast<int>(number * 1000);
        } else if (arg == QLatin1String("--fov") && hasValue) {
            ok = ParsePositive(args.takeFirst(), &options.screen.fieldOfViewDegrees) &&
                 options.screen.fieldOfViewDegrees < 180;
        } else if (arg == QLatin1String("--window") && hasValue) {
            static const QRegularExpression size(QStringLiteral("^([0-9]{1,5})x([0-9]{1,5})$"));
            const QRegularExpressionMatch match = size.match(args.takeFirst());
            ok = match.hasMatch();
            options.screen.widthPixels = match.captured(1).toInt();
            options.screen.heightPixels = match.captured(2).toInt();
            ok = ok && options.screen.widthPixels > 0 && options.screen.heightPixels > 0;
        } else if (arg == QLatin1String("--camera") && hasValue) {
            const QStringList parts = args.takeFirst().split(QLatin1Char(','));
            ok = parts.size() == 3;
            for (qsizetype i = 0; ok && i < parts.size(); ++i) {
                const double value = parts[i].toDouble(&ok);
                (i == 0 ? camera.longitude : i == 1 ? camera.latitude : camera.range) = value;
            }
            ok = ok && camera.range > 0 && camera.latitude >= -90 && camera.latitude <= 90;
        } else if (arg == QLatin1String("--timeout") && hasValue) {
            ok = ParsePositive(args.takeFirst(), &number) && number < 86400;
            options.timeoutMilliseconds = static_cast<int>(number * 1000);
        } else if (arg == QLatin1String("--max-bytes") && hasValue) {
            options.maxResponseBytes = args.takeFirst().toLongLong(&ok);
            ok = ok && options.maxResponseBytes > 0;
        } else if (!arg.startsWith(QLatin1String("--")) && path.isEmpty()) {
            path = arg;
        } else {
            ok = false;
        }
        if (!ok) {
            return Usage();
        }
    }
    if (path.isEmpty()) {
        return Usage();
    }

    QString error;
    const std::optional<NetworkLink> link = tembrel::standin::ReadNetworkLink(path, &error);
    if (!link) {
        std::fprintf(stderr, "earth-standin: %s: %s\n", qPrintable(path), qPrintable(error));
        return 1;
    }
    QTextStream err(stderr);
    err << "link " << link->href.toString() << ", "
        << (link->Periodic() ? QStringLiteral("every %1 s").arg(link->refreshIntervalSeconds)
                             : QStringLiteral("once (refreshMode %1)").arg(link->refreshMode))
        << ", fly to view " << (link->flyToView && options.fly ? "on" : "off") << ", view refresh "
        << link->viewRefreshMode << (link->QueryFormat().isEmpty() ? ", no view in the query" : "")
        << Qt::endl;

    QTextStream out(stdout);
    EarthStandin standin(*link, camera, options);
    long long done = 0;
    QObject::connect(&standin, &EarthStandin::Fetched, &app, [&](const FetchResult& result) {
        out << result.Line(options.screen) << Qt::endl;
        if (++done == count || !link->Periodic()) {
            QCoreApplication::quit();
        }
    });
    QTimer::singleShot(0, &standin, &EarthStandin::Start);
    return QCoreApplication::exec();
}
