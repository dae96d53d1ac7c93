// The Google Earth stand-in: how it reads link files, fills the viewFormat,
// works out its box, and fetches from a small view server of the test's own.

#include "Camera.h"
#include "EarthStandin.h"
#include "GoogleEarthLinkFile.h"
#include "NetworkLink.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUrlQuery>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tembrel::standin {
namespace {

const char* const LiveViewFormat =
    "lon=[lookatLon]&lat=[lookatLat]&range=[lookatRange]&tilt=[lookatTilt]&heading=[lookatHeading]"
    "&bbox=[bboxWest],[bboxSouth],[bboxEast],[bboxNorth]&w=[horizPixels]&h=[vertPixels]";

// A live link in the form Tembrel writes it; `view` holds the Link's
// view-based elements.
QByteArray
LiveLink(const QString& href, const QString& interval, const QString& fly,
         const QString& view = QStringLiteral(
             "<viewRefreshMode>onRequest</viewRefreshMode><viewFormat>%1</viewFormat>")) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><NetworkLink>"
                          "<name>Tembrel</name><flyToView>%3</flyToView><Link><href>%1</href>"
                          "<refreshMode>onInterval</refreshMode>"
                          "<refreshInterval>%2</refreshInterval>%4</Link></NetworkLink></kml>\n")
        .arg(href, interval, fly,
             QString(view).replace(QStringLiteral("%1"),
                                   QString::fromLatin1(LiveViewFormat).toHtmlEscaped()))
        .toUtf8();
}

// ------------------------------------------------------------- link files

struct LinkCase {
    const char* name;
    QByteArray document;
    // Expected: the href (empty when the file is refused), or the error.
    const char* href;
    const char* refreshMode;
    double interval;
    bool flyToView;
    const char* queryFormat;
    const char* error;
};

class LinkFileForms : public testing::TestWithParam<LinkCase> {};

TEST_P(LinkFileForms, ReadAsGoogleEarthDoes) {
    const LinkCase& c = GetParam();
    QString error;
    const std::optional<NetworkLink> link = ParseNetworkLink(
        c.document, QUrl::fromLocalFile(QStringLiteral("/data/links/TembrelLink.kml")), &error);
    if (*c.error != '\0') {
        ASSERT_FALSE(link.has_value());
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.error))) << error.toStdString();
        return;
    }
    ASSERT_TRUE(link.has_value()) << error.toStdString();
    EXPECT_EQ(link->href.toString().toStdString(), c.href);
    EXPECT_EQ(link->refreshMode.toStdString(), c.refreshMode);
    EXPECT_DOUBLE_EQ(link->refreshIntervalSeconds, c.interval);
    EXPECT_EQ(link->flyToView, c.flyToView);
    EXPECT_EQ(link->QueryFormat().toStdString(), c.queryFormat);
}

TEST(LinkFile, ReadsTheLiveLinkTembrelWrites) {
    const std::string path = "/0123456789abcdef0123456789abcdef/TembrelData.KML";
    QString error;
    const std::optional<NetworkLink> link =
        ParseNetworkLink(QByteArray::fromStdString(GoogleEarthLinkFile::RenderLive(8123, path, 4)),
                         QUrl(QStringLiteral("file:///")), &error);
    ASSERT_TRUE(link.has_value()) << error.toStdString();
    EXPECT_EQ(link->href.toString().toStdString(), "http://127.0.0.1:8123" + path);
    EXPECT_EQ(link->viewRefreshMode.toStdString(), "onRequest");
    EXPECT_EQ(link->QueryFormat().toStdString(), LiveViewFormat);
    EXPECT_FALSE(link->RefreshesOnStop());
}

QByteArray Kml(const char* body) {
    return QByteArray("<kml xmlns=\"http://earth.google.com/kml/2.1\">") + body + "</kml>";
}

INSTANTIATE_TEST_SUITE_P(
    Forms, LinkFileForms,
    testing::Values(
        LinkCase{"live",
                 LiveLink(QStringLiteral("http://127.0.0.1:8123/TembrelData.KML"),
                          QStringLiteral("3"), QStringLiteral("1")),
                 "http://127.0.0.1:8123/TembrelData.KML", "onInterval", 3, true, LiveViewFormat,
                 ""},
        LinkCase{"liveNoFly",
                 LiveLink(QStringLiteral("http://127.0.0.1:80/TembrelData.KML?x=1"),
                          QStringLiteral("0.5"), QStringLiteral("0")),
                 "http://127.0.0.1:80/TembrelData.KML?x=1", "onInterval", 0.5, false,
                 LiveViewFormat, ""},
        LinkCase{"earlierLiveLinkNever",
                 LiveLink(QStringLiteral("http://127.0.0.1:8123/TembrelData.KML"),
                          QStringLiteral("3"), QStringLiteral("1"),
                          QStringLiteral("<viewRefreshMode>never</viewRefreshMode>"
                                         "<viewFormat>%1</viewFormat>")),
                 "http://127.0.0.1:8123/TembrelData.KML", "onInterval", 3, true, "", ""},
        LinkCase{"relativeInFolderWithUrl",
                 Kml("<Document><Folder><NetworkLink><flyToView>true</flyToView><Url>"
                     "<href>view%20dir/TembrelData.KML</href><refreshMode>onInterval"
                     "</refreshMode><refreshInterval>2</refreshInterval></Url>"
                     "</NetworkLink></Folder></Document>"),
                 "file:///data/links/view dir/TembrelData.KML", "onInterval", 2, true, "", ""},
        LinkCase{"onStopWithoutFormat",
                 Kml("<NetworkLink><Link><href>http://127.0.0.1:1/v</href>"
                     "<viewRefreshMode>onStop</viewRefreshMode></Link></NetworkLink>"),
                 "http://127.0.0.1:1/v", "onChange", 4, false,
                 "BBOX=[bboxWest],[bboxSouth],[bboxEast],[bboxNorth]", ""},
        LinkCase{"onlyFirstLinkCounts",
                 Kml("<NetworkLink><Link><href>http://127.0.0.1:1/a</href></Link>"
                     "<Link><href>http://127.0.0.1:1/b</href></Link></NetworkLink>"
                     "<NetworkLink><Link><href>http://127.0.0.1:1/c</href></Link></NetworkLink>"),
                 "http://127.0.0.1:1/a", "onChange", 4, false, "", ""},
        LinkCase{"noNetworkLink", Kml("<Placemark/>"), "", "", 0, false, "", "no NetworkLink"},
        LinkCase{"noHref", Kml("<NetworkLink><Link/></NetworkLink>"), "", "", 0, false, "",
                 "no href"},
        LinkCase{"ftp", Kml("<NetworkLink><Link><href>ftp://h/v</href></Link></NetworkLink>"), "",
                 "", 0, false, "", "neither an http nor a file URL"},
        LinkCase{"zeroInterval",
                 Kml("<NetworkLink><Link><href>a</href><refreshInterval>0</refreshInterval>"
                     "</Link></NetworkLink>"),
                 "", "", 0, false, "", "refreshInterval"},
        LinkCase{"notKml", "<html/>", "", "", 0, false, "", "root element is not kml"},
        LinkCase{"truncated",
                 LiveLink(QStringLiteral("http://127.0.0.1:1/v"), QStringLiteral("1"),
                          QStringLiteral("1"))
                     .left(120),
                 {},
                 {},
                 0,
                 false,
                 "",
                 "XML error"}),
    [](const testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

TEST(LinkFile, ReadsTheFileLinkTembrelWrites) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString view = folder.filePath(QStringLiteral("Vue été/TembrelData.KML"));
    const std::string document =
        GoogleEarthLinkFile::Render(std::filesystem::path(view.toStdU16String()), 5);
    QString error;
    const std::optional<NetworkLink> link = ParseNetworkLink(
        QByteArray::fromStdString(document), QUrl(QStringLiteral("file:///elsewhere/")), &error);
    ASSERT_TRUE(link.has_value()) << error.toStdString();
    EXPECT_TRUE(link->IsLocalFile());
    EXPECT_EQ(link->href.toLocalFile().toStdString(), view.toStdString());
    EXPECT_TRUE(link->Periodic());
    EXPECT_DOUBLE_EQ(link->refreshIntervalSeconds, 5);
    EXPECT_TRUE(link->flyToView);
}

// ------------------------------------------------------------ placeholders

struct FormatCase {
    const char* name;
    const char* href;
    const char* format;
    const char* url;
};

class ViewFormatFilling : public testing::TestWithParam<FormatCase> {};

TEST_P(ViewFormatFilling, FillsFromTheCamera) {
    const FormatCase& c = GetParam();
    const Camera camera{2.5, -33.25, 1500, 0, 12.5};
    const ScreenGeometry screen{60, 800, 600};
    const QUrl url = RequestUrl(QUrl(QString::fromUtf8(c.href)),
                                FillViewFormat(QString::fromUtf8(c.format), camera, screen));
    EXPECT_EQ(url.toString(QUrl::FullyEncoded).toStdString(), c.url);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ViewFormatFilling,
    testing::Values(
        // Half-width 1500·tan 30° = 866.025 m; half-height 649.519 m.
        FormatCase{"liveLink", "http://127.0.0.1:9/TembrelData.KML", LiveViewFormat,
                   "http://127.0.0.1:9/TembrelData.KML?lon=2.500000&lat=-33.250000"
                   "&range=1500.000000&tilt=0.000000&heading=12.500000"
                   "&bbox=2.490697,-33.255835,2.509303,-33.244165&w=800&h=600"},
        FormatCase{"afterExistingQuery", "http://127.0.0.1:9/v?id=7", "x=[lookatLon]",
                   "http://127.0.0.1:9/v?id=7&x=2.500000"},
        FormatCase{"empty", "http://127.0.0.1:9/v", "", "http://127.0.0.1:9/v"},
        FormatCase{"unknownKept", "http://127.0.0.1:9/v", "a=[terrainEnabled]&f=[horizFov]",
                   "http://127.0.0.1:9/v?a=[terrainEnabled]&f=60.000000"}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

// ------------------------------------------------------------------ geometry

struct BoxCase {
    const char* name;
    Camera camera;
    ScreenGeometry screen;
    BoundingBox box;
};

class BoxGeometry : public testing::TestWithParam<BoxCase> {};

TEST_P(BoxGeometry, FollowsRangeFieldOfViewAndWindow) {
    const BoxCase& c = GetParam();
    const BoundingBox box = BoxFor(c.camera, c.screen);
    EXPECT_NEAR(box.west, c.box.west, 1e-6);
    EXPECT_NEAR(box.south, c.box.south, 1e-6);
    EXPECT_NEAR(box.east, c.box.east, 1e-6);
    EXPECT_NEAR(box.north, c.box.north, 1e-6);
}

// At range 1000 m and 60°: half-width 577.350 m = 0.00518640° at the equator,
// twice that at 60°N; half-height (1000×700) 404.145 m = 0.00363048°.
INSTANTIATE_TEST_SUITE_P(
    Cases, BoxGeometry,
    testing::Values(
        BoxCase{"equator", {0, 0, 1000}, {}, {-0.0051864, -0.0036305, 0.0051864, 0.0036305}},
        BoxCase{"sixtyNorth", {10, 60, 1000}, {}, {9.9896272, 59.9963695, 10.0103728, 60.0036305}},
        BoxCase{"squareWindowNarrowView",
                {-70, 0, 2000},
                {30, 500, 500},
                // 2000·tan 15° = 535.898 m = 0.00481403° both ways.
                {-70.0048140, -0.0048140, -69.9951860, 0.0048140}},
        BoxCase{"acrossTheAntimeridian",
                {179.999, 0, 1000},
                {},
                {179.9938136, -0.0036305, -179.9958136, 0.0036305}},
        BoxCase{"atThePole", {0, 90, 1000}, {}, {-180, 89.9963695, 180, 90}}),
    [](const testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

TEST(BoxGeometry, MatchesTheSnapshotUnitsTembrelMeasures) {
    // 1 km of snapshot width is 37/3600° of longitude, 1 km of height 32/3600°
    // of latitude: at 45°N a range of 3000 m shows 3.464 km by 2.425 km of
    // ground, which reads as 4.282 by 2.451 snapshot km there.
    const BoundingBox box = BoxFor({5, 45, 3000}, {});
    EXPECT_NEAR((box.east - box.west) * 3600 / 37, 4.2819, 1e-3);
    EXPECT_NEAR((box.north - box.south) * 3600 / 32, 2.4506, 1e-3);
}

// --------------------------------------------------------------- fetching

// A view server of the test's own: answers each request with a fixed reply
// (or not at all) and remembers the request lines.
class FixedServer {
public:
    explicit FixedServer(QByteArray reply) : reply_(std::move(reply)) {
        QObject::connect(&server_, &QTcpServer::newConnection, [this] { Accept(); });
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
    }

    QString Url(const char* path = "/TembrelData.KML") const {
        return QStringLiteral("http://127.0.0.1:%1%2")
            .arg(server_.serverPort())
            .arg(QString::fromUtf8(path));
    }
    const QList<QByteArray>& Requests() const { return requests_; }

private:
    void Accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            auto received = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
                received->append(socket->readAll());
                if (!received->contains("\r\n\r\n")) {
                    return;
                }
                requests_.append(received->left(received->indexOf("\r\n")));
                received->clear();
                if (!reply_.isEmpty()) {
                    socket->write(reply_);
                    socket->disconnectFromHost();
                }
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    QTcpServer server_;
    QByteArray reply_;
    QList<QByteArray> requests_;
};

QByteArray View(const char* lon, const char* lat, const char* range) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                          "<kml xmlns=\"http://earth.google.com/kml/2.0\">\r\n<Placemark>\r\n"
                          "<name>Tembrel Starting Point</name>\r\n<LookAt>\r\n"
                          "<longitude>%1</longitude>\r\n<latitude>%2</latitude>\r\n"
                          "<range>%3</range>\r\n<tilt>0.0</tilt>\r\n<heading>0.0</heading>\r\n"
                          "</LookAt>\r\n</Placemark>\r\n</kml>\r\n")
        .arg(QString::fromUtf8(lon), QString::fromUtf8(lat), QString::fromUtf8(range))
        .toUtf8();
}

QByteArray Response(const QByteArray& status, const QByteArray& body) {
    return "HTTP/1.1 " + status +
           "\r\nContent-Type: application/vnd.google-earth.kml+xml\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

NetworkLink LinkTo(const QString& url, double interval, bool flyToView) {
    QString error;
    std::optional<NetworkLink> link =
        ParseNetworkLink(LiveLink(url, QString::number(interval),
                                  flyToView ? QStringLiteral("1") : QStringLiteral("0")),
                         QUrl(QStringLiteral("file:///")), &error);
    EXPECT_TRUE(link.has_value()) << error.toStdString();
    return link.value_or(NetworkLink{});
}

// Runs the stand-in until it has fetched `count` times (or 10 s have gone).
QList<FetchResult> FetchTimes(EarthStandin& standin, int count) {
    QList<FetchResult> results;
    QObject::connect(&standin, &EarthStandin::Fetched,
                     [&](const FetchResult& result) { results.append(result); });
    standin.Start();
    QElapsedTimer clock;
    clock.start();
    while (results.size() < count && clock.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return results;
}

QUrlQuery QueryOf(const QByteArray& requestLine) {
    // "GET /TembrelData.KML?... HTTP/1.1"
    const QList<QByteArray> parts = requestLine.split(' ');
    return QUrlQuery(QUrl(QString::fromLatin1(parts.value(1))).query());
}

// ------------------------------------------------- the KML reference's rules

// Each rule of Google's KML reference for a Link's view-based refresh that
// the stand-in follows, with the reference's own words. The link refreshes
// every 5 s, well past the 0.9 s watched, so that a late loop on a busy
// machine sees no second interval fetch; the view served lies elsewhere than
// the camera starts, so the camera flies (and stops) at the first fetch.
struct ReferenceCase {
    const char* name;
    const char* reference; // the sentence of the KML reference the row pins
    const char* view;      // the Link's view-based elements
    // The requests in the first 0.9 s: their queries, in order, with
    // "{view}" for the filled viewFormat at the camera then, and "{bbox}"
    // for its box scaled by the row's viewBoundScale, as W,S,E,N.
    std::vector<const char*> queries;
    double boundScale;
};

void PrintTo(const ReferenceCase& c, std::ostream* out) {
    *out << c.name;
}

class KmlReferenceRules : public testing::TestWithParam<ReferenceCase> {};

QString Filled(const char* pattern, const Camera& camera, double boundScale) {
    const BoundingBox box = ScaledBox(BoxFor(camera, {}), boundScale);
    return QString::fromUtf8(pattern)
        .replace(QStringLiteral("{view}"),
                 FillViewFormat(QString::fromLatin1(LiveViewFormat), camera, {}, boundScale))
        .replace(QStringLiteral("{bbox}"), QStringLiteral("%1,%2,%3,%4")
                                               .arg(box.west, 0, 'f', 6)
                                               .arg(box.south, 0, 'f', 6)
                                               .arg(box.east, 0, 'f', 6)
                                               .arg(box.north, 0, 'f', 6));
}

TEST_P(KmlReferenceRules, AreFollowedAsWritten) {
    const ReferenceCase& c = GetParam();
    SCOPED_TRACE(c.reference);
    FixedServer server(Response("200 OK", View("7.5", "1", "300")));
    QString error;
    const std::optional<NetworkLink> link = ParseNetworkLink(
        LiveLink(server.Url(), QStringLiteral("5"), QStringLiteral("1"), QString::fromUtf8(c.view)),
        QUrl(QStringLiteral("file:///")), &error);
    ASSERT_TRUE(link.has_value()) << error.toStdString();
    const Camera start{-3, 0, 900};
    const Camera landed{7.5, 1, 300};
    EarthStandin standin(*link, start, {});
    QList<FetchResult> results;
    QObject::connect(&standin, &EarthStandin::Fetched,
                     [&](const FetchResult& result) { results.append(result); });
    standin.Start();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 900) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    std::vector<std::string> queries;
    for (const QByteArray& line : server.Requests()) {
        const QByteArray target = line.split(' ').value(1);
        const qsizetype mark = target.indexOf('?');
        queries.push_back(mark < 0 ? std::string() : target.mid(mark + 1).toStdString());
    }
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < c.queries.size(); ++i) {
        // The first request goes out from where the camera starts; any later
        // one after it has landed.
        expected.push_back(
            QUrl::fromPercentEncoding(
                Filled(c.queries[i], i == 0 ? start : landed, c.boundScale).toLatin1())
                .toStdString());
    }
    for (std::string& query : queries) {
        query = QUrl::fromPercentEncoding(QByteArray::fromStdString(query)).toStdString();
    }
    EXPECT_EQ(queries, expected);
    if (results.size() > 1) {
        EXPECT_EQ(results[1].trigger, FetchTrigger::CameraStop);
    }
}

const char* const Never =
    "never (default) - Ignore changes in the view. Also ignore <viewFormat> parameters, if any.";
const char* const OnRequest =
    "onRequest - Refresh the file only when the user explicitly requests it.";
const char* const OnStop = "onStop - Refresh the file n seconds after movement stops, where n is "
                           "specified in <viewRefreshTime>.";
const char* const ViewFormat = "<viewFormat> Specifies the format of the query string that is "
                               "appended to the Link's <href> before the file is fetched.";
const char* const DefaultBbox =
    "If you specify a <viewRefreshMode> of onStop and do not include the <viewFormat> tag in the "
    "file, the following information is automatically appended to the query string: "
    "BBOX=[bboxWest],[bboxSouth],[bboxEast],[bboxNorth]";
const char* const BoundScale =
    "<viewBoundScale> Scales the BBOX parameters before sending them to the server.";

INSTANTIATE_TEST_SUITE_P(
    Rules, KmlReferenceRules,
    testing::Values(
        ReferenceCase{"neverIgnoresTheViewFormat",
                      Never,
                      "<viewRefreshMode>never</viewRefreshMode><viewFormat>%1</viewFormat>",
                      {""},
                      1},
        ReferenceCase{"noViewRefreshModeIsNever", Never, "<viewFormat>%1</viewFormat>", {""}, 1},
        ReferenceCase{"neverScalesNothing",
                      Never,
                      "<viewBoundScale>2</viewBoundScale><viewFormat>%1</viewFormat>",
                      {""},
                      1},
        ReferenceCase{"onRequestSendsTheViewOnTheIntervalAndNothingMore",
                      OnRequest,
                      "<viewRefreshMode>onRequest</viewRefreshMode><viewRefreshTime>0.2"
                      "</viewRefreshTime><viewFormat>%1</viewFormat>",
                      {"{view}"},
                      1},
        ReferenceCase{"viewFormatIsAppended",
                      ViewFormat,
                      "<viewRefreshMode>onRequest</viewRefreshMode>"
                      "<viewFormat>b=[bboxWest],[bboxNorth]&amp;fov=[horizFov]</viewFormat>",
                      {"b=-3.004668,0.003267&fov=60.000000"},
                      1},
        // 0.2 s after the landing, and no more: the view it is handed then is
        // the one it stands at, so it does not move again.
        ReferenceCase{"onStopFetchesAfterTheCameraStops",
                      OnStop,
                      "<viewRefreshMode>onStop</viewRefreshMode><viewRefreshTime>0.2"
                      "</viewRefreshTime><viewFormat>%1</viewFormat>",
                      {"{view}", "{view}"},
                      1},
        ReferenceCase{"onStopWaitsViewRefreshTime",
                      OnStop,
                      "<viewRefreshMode>onStop</viewRefreshMode><viewRefreshTime>1.5"
                      "</viewRefreshTime><viewFormat>%1</viewFormat>",
                      {"{view}"},
                      1},
        ReferenceCase{"onStopWithoutViewFormatSendsTheBbox",
                      DefaultBbox,
                      "<viewRefreshMode>onStop</viewRefreshMode><viewRefreshTime>0.2"
                      "</viewRefreshTime>",
                      {"BBOX={bbox}", "BBOX={bbox}"},
                      1},
        ReferenceCase{"onRequestWithoutViewFormatSendsNothing",
                      DefaultBbox,
                      "<viewRefreshMode>onRequest</viewRefreshMode>",
                      {""},
                      1},
        ReferenceCase{"viewBoundScaleScalesTheBox",
                      BoundScale,
                      "<viewRefreshMode>onStop</viewRefreshMode><viewRefreshTime>0.2"
                      "</viewRefreshTime><viewBoundScale>2</viewBoundScale>",
                      {"BBOX={bbox}", "BBOX={bbox}"},
                      2},
        ReferenceCase{"viewBoundScaleBelowOne",
                      BoundScale,
                      "<viewRefreshMode>onRequest</viewRefreshMode><viewBoundScale>0.5"
                      "</viewBoundScale><viewFormat>%1</viewFormat>",
                      {"{view}"},
                      0.5}),
    [](const testing::TestParamInfo<ReferenceCase>& info) { return std::string(info.param.name); });

TEST(KmlReferenceRules, OnRequestFetchesWithTheViewWhenTheUserAsks) {
    SCOPED_TRACE(OnRequest);
    FixedServer server(Response("200 OK", View("7.5", "1", "300")));
    // An interval far beyond the test: only the first fetch and the user's.
    EarthStandin standin(LinkTo(server.Url(), 60, true), Camera{-3, 0, 900}, {});
    QList<FetchResult> results = FetchTimes(standin, 1);
    ASSERT_EQ(results.size(), 1);
    QList<FetchResult> more;
    QObject::connect(&standin, &EarthStandin::Fetched,
                     [&](const FetchResult& result) { more.append(result); });
    standin.Refresh();
    QElapsedTimer clock;
    clock.start();
    while (more.isEmpty() && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    ASSERT_EQ(more.size(), 1);
    EXPECT_EQ(more[0].trigger, FetchTrigger::UserRequest);
    ASSERT_EQ(server.Requests().size(), 2);
    EXPECT_EQ(QueryOf(server.Requests()[1]).queryItemValue(QStringLiteral("lon")).toStdString(),
              "7.500000");
}

TEST(Fetching, ReportsItsCameraAndFliesToTheView) {
    FixedServer server(Response("200 OK", View("2.28924155235291", "48.8591117858887", "250")));
    EarthStandin standin(LinkTo(server.Url(), 0.2, true), Camera{-1.5, 10, 5000}, {});
    const QList<FetchResult> results = FetchTimes(standin, 2);
    ASSERT_EQ(results.size(), 2);
    for (const FetchResult& result : results) {
        EXPECT_EQ(result.status.toStdString(), "200");
        ASSERT_TRUE(result.view.has_value()) << result.reason.toStdString();
        EXPECT_EQ(result.view->longitude.toStdString(), "2.28924155235291");
        EXPECT_DOUBLE_EQ(result.camera.latitude, 48.8591117858887);
        EXPECT_DOUBLE_EQ(result.camera.range, 250);
    }
    EXPECT_NEAR(results[1].elapsedSeconds - results[0].elapsedSeconds, 0.2, 0.15);
    ASSERT_EQ(server.Requests().size(), 2);
    EXPECT_TRUE(server.Requests()[0].startsWith("GET /TembrelData.KML?lon=-1.500000&lat="))
        << server.Requests()[0].toStdString();
    // The first request tells where the camera started, the second where it flew.
    const QUrlQuery first = QueryOf(server.Requests()[0]);
    EXPECT_EQ(first.queryItemValue(QStringLiteral("lat")).toStdString(), "10.000000");
    EXPECT_EQ(first.queryItemValue(QStringLiteral("range")).toStdString(), "5000.000000");
    EXPECT_EQ(first.queryItemValue(QStringLiteral("w")).toStdString(), "1000");
    EXPECT_EQ(first.queryItemValue(QStringLiteral("h")).toStdString(), "700");
    const QUrlQuery second = QueryOf(server.Requests()[1]);
    EXPECT_EQ(second.queryItemValue(QStringLiteral("lon")).toStdString(), "2.289242");
    EXPECT_EQ(second.queryItemValue(QStringLiteral("lat")).toStdString(), "48.859112");
    const BoundingBox box = BoxFor(results[1].camera, {});
    EXPECT_EQ(second.queryItemValue(QStringLiteral("bbox")).toStdString(),
              QStringLiteral("%1,%2,%3,%4")
                  .arg(box.west, 0, 'f', 6)
                  .arg(box.south, 0, 'f', 6)
                  .arg(box.east, 0, 'f', 6)
                  .arg(box.north, 0, 'f', 6)
                  .toStdString());
}

struct StayCase {
    const char* name;
    bool linkFlies;
    bool optionFlies;
    int delayMilliseconds;
    // The camera's longitude at the first and the third fetch.
    double firstLongitude;
    double thirdLongitude;
};

class Flying : public testing::TestWithParam<StayCase> {};

TEST_P(Flying, LandsWhenTheLinkAndTheDelayLetIt) {
    const StayCase& c = GetParam();
    FixedServer server(Response("200 OK", View("7.5", "1", "300")));
    StandinOptions options;
    options.fly = c.optionFlies;
    options.flyDelayMilliseconds = c.delayMilliseconds;
    // Fetches at 0, 0.25 and 0.5 s.
    EarthStandin standin(LinkTo(server.Url(), 0.25, c.linkFlies), Camera{-3, 0, 900}, options);
    const QList<FetchResult> results = FetchTimes(standin, 3);
    ASSERT_EQ(results.size(), 3);
    EXPECT_DOUBLE_EQ(results[0].camera.longitude, c.firstLongitude);
    EXPECT_DOUBLE_EQ(results[2].camera.longitude, c.thirdLongitude);
    EXPECT_EQ(QueryOf(server.Requests()[2]).queryItemValue(QStringLiteral("lon")).toStdString(),
              QString::number(c.thirdLongitude, 'f', 6).toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Flying,
    testing::Values(StayCase{"atOnce", true, true, 0, 7.5, 7.5},
                    StayCase{"afterADelay", true, true, 100, -3, 7.5},
                    StayCase{"delayLongerThanTheRun", true, true, 5000, -3, -3},
                    StayCase{"flyToViewOffInTheLink", false, true, 0, -3, -3},
                    StayCase{"noFlyOption", true, false, 0, -3, -3}),
    [](const testing::TestParamInfo<StayCase>& info) { return std::string(info.param.name); });

struct FailureCase {
    const char* name;
    QByteArray reply; // empty: never answers
    const char* path;
    const char* status;
    const char* reason;
};

class FetchFailures : public testing::TestWithParam<FailureCase> {};

TEST_P(FetchFailures, SayWhyAndStayPut) {
    const FailureCase& c = GetParam();
    FixedServer server(c.reply);
    StandinOptions options;
    options.timeoutMilliseconds = 300;
    options.maxResponseBytes = 4096;
    EarthStandin standin(LinkTo(server.Url(c.path), 0.1, true), Camera{4, 5, 600}, options);
    const QList<FetchResult> results = FetchTimes(standin, 1);
    ASSERT_EQ(results.size(), 1);
    EXPECT_EQ(results[0].status.toStdString(), c.status);
    EXPECT_FALSE(results[0].view.has_value());
    EXPECT_TRUE(results[0].reason.contains(QString::fromUtf8(c.reason)))
        << results[0].reason.toStdString();
    EXPECT_DOUBLE_EQ(results[0].camera.longitude, 4);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FetchFailures,
    testing::Values(
        FailureCase{"notFound", Response("404 Not Found", "no"), "/x", "404", "Not Found"},
        FailureCase{"halfAView", Response("200 OK", View("1", "2", "3").left(100)),
                    "/TembrelData.KML", "200", "unreadable: XML error"},
        FailureCase{"tooLarge", Response("200 OK", QByteArray(5000, ' ') + View("1", "2", "3")),
                    "/TembrelData.KML", "failed", "over 4096 bytes"},
        FailureCase{"tooLargeWithoutLength",
                    "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + QByteArray(9000, 'x'),
                    "/TembrelData.KML", "failed", "over 4096 bytes"},
        FailureCase{"neverAnswers", {}, "/TembrelData.KML", "failed", "timed out"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(Fetching, TakesTiltAndHeadingFromTheView) {
    QByteArray view = View("1", "2", "300");
    view.replace("<tilt>0.0</tilt>", "<tilt>12.5</tilt>");
    view.replace("<heading>0.0</heading>", "<heading>-30.25</heading>");
    FixedServer server(Response("200 OK", view));
    EarthStandin standin(LinkTo(server.Url(), 1, true), Camera{}, {});
    const QList<FetchResult> results = FetchTimes(standin, 1);
    ASSERT_EQ(results.size(), 1);
    EXPECT_DOUBLE_EQ(results[0].camera.tilt, 12.5);
    EXPECT_DOUBLE_EQ(results[0].camera.heading, -30.25);
}

TEST(Fetching, SaysWhenNothingListens) {
    quint16 port = 0;
    {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
        port = closed.serverPort();
    }
    EarthStandin standin(
        LinkTo(QStringLiteral("http://127.0.0.1:%1/TembrelData.KML").arg(port), 0.1, true),
        Camera{}, {});
    const QList<FetchResult> results = FetchTimes(standin, 1);
    ASSERT_EQ(results.size(), 1);
    EXPECT_EQ(results[0].status.toStdString(), "failed");
    EXPECT_TRUE(results[0].reason.contains(QStringLiteral("refused")))
        << results[0].reason.toStdString();
}

TEST(Fetching, ReadsTodaysFileLink) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString view = folder.filePath(QStringLiteral("TembrelData.KML"));
    QFile file(view);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(View("-25,3649997711182", "9,99999974737875E-5", "250"));
    file.close();
    QString error;
    const std::optional<NetworkLink> link = ParseNetworkLink(
        QByteArray::fromStdString(GoogleEarthLinkFile::Render(view.toStdU16String(), 1)),
        QUrl(QStringLiteral("file:///")), &error);
    ASSERT_TRUE(link.has_value()) << error.toStdString();
    EarthStandin standin(*link, Camera{}, {});
    const QList<FetchResult> results = FetchTimes(standin, 1);
    ASSERT_EQ(results.size(), 1);
    EXPECT_EQ(results[0].status.toStdString(), "file");
    EXPECT_NEAR(results[0].camera.longitude, -25.365, 1e-3);
    EXPECT_NEAR(results[0].camera.latitude, 1e-4, 1e-9);
    EXPECT_EQ(results[0].Line({}).section(QLatin1Char(' '), 1).toStdString(),
              "file camera -25.365000 0.000100 250.000000 0.000000 0.000000 "
              "bbox -25.366296,-0.000808,-25.363703,0.001008 view -25,3649997711182 "
              "9,99999974737875E-5 250");
}

} // namespace
} // namespace tembrel::standin

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
