// The live link in the main window: the link file names the server's port,
// the port is chosen once and kept, and the light beside the gauge follows
// Google Earth's fetches, played over real loopback sockets on a clock the
// test moves.

#include "MainWindowFixture.h"

#include "CsvPointsReader.h"
#include "GaugeWidget.h"
#include "GoogleEarthLinkFile.h"
#include "LiveIndicator.h"
#include "Messages.h"
#include "PortSetting.h"
#include "TF_Main.h"

#include <QAction>
#include <QEventLoop>
#include <QFile>
#include <QHelpEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <memory>
#include <optional>

using namespace tembrel;
using namespace tembrel::test;
using std::chrono::milliseconds;

namespace {

// Refresh Every 10 s; snapshots of 1 km by 0.4 km.
const QStringList HelpExample = {
    QStringLiteral("48.86"), QStringLiteral("2.2877"), QStringLiteral("1"),   QStringLiteral("0.4"),
    QStringLiteral("0.3"),   QStringLiteral("0.2"),    QStringLiteral("250"), QStringLiteral("10")};

class FakePortSetting final : public PortSetting {
public:
    std::uint16_t kept = 0;
    int saves = 0;
    std::string secret;
    int secretSaves = 0;
    std::uint16_t Read() override { return kept; }
    bool Save(std::uint16_t port) override {
        kept = port;
        ++saves;
        return true;
    }
    std::string ReadSecret() override { return secret; }
    bool SaveSecret(const std::string& value) override {
        secret = value;
        ++secretSaves;
        return true;
    }
};

// The view's centre as the served document gives it.
std::optional<ViewCentre> CentreOf(const QByteArray& document) {
    static const QRegularExpression pattern(
        QStringLiteral("<longitude>([^<]*)</longitude>\\r\\n<latitude>([^<]*)</latitude>"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(document));
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return ViewCentre{match.captured(1).toDouble(), match.captured(2).toDouble()};
}

} // namespace

class LiveLinkTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void liveLinkNamesTheServersPort();
    void liveLinkKeepsTheFileLinkBesideIt();
    void portIsChosenOnceAndKept_data();
    void portIsChosenOnceAndKept();
    void lightFollowsTheFetches();
    void lightSaysWhenTheCameraStaysAway_data();
    void lightSaysWhenTheCameraStaysAway();
    void lightSitsInTheGapRightOfTheGauge();
    void secretIsChosenOnceAndKept_data();
    void secretIsChosenOnceAndKept();
    void forgedFetchesLeaveTheLightAsItWas_data();
    void forgedFetchesLeaveTheLightAsItWas();
    void lightSaysWhenNoCameraComes();
    void liveLinkSaysAnOldOneMustBeReplaced_data();
    void liveLinkSaysAnOldOneMustBeReplaced();
    void voyageReportExportsTheMissedAndTheSeen();
    void voyageReportBeforeAnyVoyage();
    void measureFillsTheSnapshotFields_data();
    void measureFillsTheSnapshotFields();
    void measureGivesUpWhenGoogleEarthDoesNotShowIt();
    void measureIsRefusedDuringAVoyage();

private:
    QString Tip() const {
        auto* gauge = Find<GaugeWidget>("GA_Progress");
        QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), gauge->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(gauge, &hover);
        return gauge->toolTip();
    }
    // Google Earth's fetch at the clock's `at`, its camera at (lon, lat):
    // the centre of the view it was handed.
    std::optional<ViewCentre> FetchAt(milliseconds at, double lon, double lat,
                                      double halfWidth = 0.001, double halfHeight = 0.001);
    // Sends `request` ({path} and {port} filled in) and reads the reply.
    QByteArray Send(const QByteArray& request);
    // Follows a voyage for three periods from 0 s: Google Earth at each view.
    void FollowThreePeriods();

    std::unique_ptr<FakePortSetting> port_;
    milliseconds now_{0};
};

void LiveLinkTest::init() {
    Reset();
    port_ = std::make_unique<FakePortSetting>();
    viewServerPort_ = port_.get();
    liveClock_ = [this] { return now_; };
    now_ = milliseconds(0);
}

void LiveLinkTest::cleanup() {
    QCOMPARE(boxes_->unscripted, 0);
    QCOMPARE(dialogs_->unscripted, 0);
    window_.reset();
}

std::optional<ViewCentre> LiveLinkTest::FetchAt(milliseconds at, double lon, double lat,
                                                double halfWidth, double halfHeight) {
    now_ = at;
    return CentreOf(
        Send(QStringLiteral("GET {path}?lon=%1&lat=%2&range=250&tilt=0&heading=0"
                            "&bbox=%3,%4,%5,%6&w=1000&h=700 HTTP/1.1\r\nHost: 127.0.0.1:{port}"
                            "\r\n\r\n")
                 .arg(lon, 0, 'f', 6)
                 .arg(lat, 0, 'f', 6)
                 .arg(lon - halfWidth, 0, 'f', 6)
                 .arg(lat - halfHeight, 0, 'f', 6)
                 .arg(lon + halfWidth, 0, 'f', 6)
                 .arg(lat + halfHeight, 0, 'f', 6)
                 .toLatin1()));
}

QByteArray LiveLinkTest::Send(const QByteArray& request) {
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, window_->ViewServerPort());
    client.write(QByteArray(request)
                     .replace("{path}", QByteArray::fromStdString(window_->ViewServerPath()))
                     .replace("{port}", QByteArray::number(window_->ViewServerPort())));
    QByteArray received;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(&client, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
    connect(&client, &QTcpSocket::readyRead, &loop, [&] {
        received += client.readAll();
        if (received.endsWith("</kml>\r\n") ||
            (received.contains("\r\n\r\n") && !received.startsWith("HTTP/1.1 200"))) {
            loop.quit();
        }
    });
    limit.start(3000);
    loop.exec();
    return received;
}

void LiveLinkTest::FollowThreePeriods() {
    SetEdits(HelpExample);
    window_->B_StartClick();
    std::optional<ViewCentre> view = FetchAt(milliseconds(0), 0, 0);
    QVERIFY(view.has_value());
    for (int period = 1; period <= 3; ++period) {
        window_->T_TimerTimer();
        view = FetchAt(milliseconds(period * 10000), view->lon, view->lat);
        QVERIFY(view.has_value());
    }
}

void LiveLinkTest::liveLinkNamesTheServersPort() {
    CreateWindow();
    SetEdits(HelpExample);
    const QString link = viewDirectory_->filePath(QStringLiteral("TembrelLiveLink.kml"));
    dialogs_->answers.push_back(link);
    Find<QAction>("CreateliveGoogleEarthlink1")->trigger();

    QCOMPARE(dialogs_->requests.size(), std::size_t{1});
    QCOMPARE(dialogs_->requests[0].caption, QStringLiteral("Create live Google Earth link"));
    QFile file(link);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray document = file.readAll();
    const std::uint16_t port = window_->ViewServerPort();
    QVERIFY(port != 0);
    const std::string path = window_->ViewServerPath();
    QCOMPARE(document, QByteArray::fromStdString(GoogleEarthLinkFile::RenderLive(port, path, 10)));
    // The secret the server keeps is in the link's path.
    QCOMPARE(QByteArray::fromStdString(path),
             "/" + QByteArray::fromStdString(port_->secret) + "/TembrelData.KML");
    QVERIFY(document.contains(QStringLiteral("<href>http://127.0.0.1:%1/%2/TembrelData.KML</href>")
                                  .arg(port)
                                  .arg(QString::fromStdString(port_->secret))
                                  .toLatin1()));
    QVERIFY(document.contains("<viewRefreshMode>onRequest</viewRefreshMode>"));
    QVERIFY(document.contains("<refreshInterval>10</refreshInterval>"));
    QVERIFY(document.contains("<viewFormat>lon=[lookatLon]&amp;lat=[lookatLat]&amp;range="));
    QCOMPARE(boxes_->boxes.size(), std::size_t{1});
    QVERIFY(boxes_->boxes[0].text.startsWith(
        QStringLiteral("The live Google Earth link has been written to %1.")
            .arg(QDir::toNativeSeparators(link))));
}

void LiveLinkTest::liveLinkKeepsTheFileLinkBesideIt() {
    CreateWindow();
    SetEdits(HelpExample);
    // A period the link cannot hold is refused by both, and nothing is written.
    Find<QLineEdit>("E_VR")->setText(QStringLiteral("2.5"));
    Find<QAction>("CreateliveGoogleEarthlink1")->trigger();
    QVERIFY(dialogs_->requests.empty());
    QCOMPARE(boxes_->Texts(), QStringList{QLatin1String(messages::DataNotCorrect)});
    QVERIFY(Find<QAction>("CreateGoogleEarthlink1") != nullptr);
}

void LiveLinkTest::portIsChosenOnceAndKept_data() {
    QTest::addColumn<int>("kept"); // -1: a port that another program holds
    QTest::addColumn<bool>("usesKept");
    QTest::addColumn<int>("saves");
    QTest::newRow("first start: chosen and kept") << 0 << false << 1;
    QTest::newRow("kept and free: used") << 1 << true << 0;
    QTest::newRow("kept but taken: another, the kept one stays") << -1 << false << 0;
}

void LiveLinkTest::portIsChosenOnceAndKept() {
    QFETCH(int, kept);
    QFETCH(bool, usesKept);
    QFETCH(int, saves);
    QTcpServer other;
    if (kept == 1) {
        // A port known to be free: taken and let go again.
        QVERIFY(other.listen(QHostAddress::LocalHost, 0));
        port_->kept = other.serverPort();
        other.close();
    } else if (kept == -1) {
        QVERIFY(other.listen(QHostAddress::LocalHost, 0));
        port_->kept = other.serverPort();
    }
    const std::uint16_t before = port_->kept;
    CreateWindow();
    const std::uint16_t port = window_->ViewServerPort();
    QVERIFY(port != 0);
    QCOMPARE(port == before, usesKept);
    QCOMPARE(port_->saves, saves);
    QCOMPARE(port_->kept, saves == 1 ? port : before);
    // The window says so, once it shows, when the kept port was taken.
    QCoreApplication::processEvents();
    if (kept == -1) {
        QCOMPARE(boxes_->boxes.size(), std::size_t{1});
        QCOMPARE(boxes_->boxes[0].type, BoxType::Information);
        QVERIFY2(boxes_->boxes[0].text.startsWith(
                     QStringLiteral("Port %1, which Tembrel keeps for the live link, is taken by "
                                    "another program: the view server listens on port %2 for "
                                    "this run.")
                         .arg(before)
                         .arg(port)),
                 qPrintable(boxes_->boxes[0].text));
    } else {
        QVERIFY(boxes_->boxes.empty());
    }
}

void LiveLinkTest::secretIsChosenOnceAndKept_data() {
    QTest::addColumn<QString>("kept");
    QTest::addColumn<bool>("usesKept");
    QTest::newRow("first start: chosen and kept") << QString() << false;
    QTest::newRow("kept: used") << QStringLiteral("0123456789abcdef0123456789abcdef") << true;
    QTest::newRow("kept but not a secret: another, kept")
        << QStringLiteral("0123456789abcdef0123456789ABCDEF") << false;
    QTest::newRow("kept but a path") << QStringLiteral("../../../../etc/passwd") << false;
}

void LiveLinkTest::secretIsChosenOnceAndKept() {
    QFETCH(QString, kept);
    QFETCH(bool, usesKept);
    port_->secret = kept.toStdString();
    CreateWindow();
    const std::string path = window_->ViewServerPath();
    QCOMPARE(path == "/" + kept.toStdString() + "/TembrelData.KML", usesKept);
    QCOMPARE(port_->secretSaves, usesKept ? 0 : 1);
    QCOMPARE("/" + port_->secret + "/TembrelData.KML", path);
    QCOMPARE(port_->secret.size(), std::size_t{32});
}

void LiveLinkTest::forgedFetchesLeaveTheLightAsItWas_data() {
    // {path}: the live link's path; {port}: the server's.
    QTest::addColumn<QByteArray>("request");
    const QByteArray report = "?lon=0&lat=0&range=250&tilt=0&heading=0&bbox=-1,-1,1,1&w=1000&h=700";
    const QByteArray host = " HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n";
    // An image tag's blind request, as a browser sends it.
    QTest::newRow("image tag") << "GET {path}" + report + host +
                                      "Sec-Fetch-Site: cross-site\r\nSec-Fetch-Mode: no-cors\r\n"
                                      "Sec-Fetch-Dest: image\r\n\r\n";
    QTest::newRow("page script") << "GET {path}" + report + host +
                                        "Origin: http://a.example\r\n\r\n";
    QTest::newRow("rebound name") << "GET {path}" + report +
                                         " HTTP/1.1\r\nHost: a.example:{port}\r\n\r\n";
    QTest::newRow("path of an earlier link") << "GET /TembrelData.KML" + report + host + "\r\n";
    QTest::newRow("path of an earlier link without a camera")
        << "GET /TembrelData.KML" + host + "\r\n";
}

void LiveLinkTest::forgedFetchesLeaveTheLightAsItWas() {
    QFETCH(QByteArray, request);
    CreateWindow();
    FollowThreePeriods();
    auto* light = Find<LiveIndicator>("LiveIndicator");
    QCOMPARE(light->State(), FollowingMonitor::State::Following);
    const std::size_t reached = window_->Arrivals().ReachedCount();
    // Then, between two of Google Earth's fetches, a request from elsewhere
    // reports the camera far off (or none), three times in a row.
    for (int i = 0; i < 3; ++i) {
        now_ = milliseconds(31000 + i * 1000);
        const QByteArray reply = Send(request);
        QVERIFY2(!reply.startsWith("HTTP/1.1 200"), reply.constData());
    }
    QCOMPARE(light->State(), FollowingMonitor::State::Following);
    QCOMPARE(light->toolTip(), QStringLiteral("Google Earth is following"));
    QCOMPARE(window_->Arrivals().ReachedCount(), reached);
    QVERIFY(boxes_->boxes.empty());
}

void LiveLinkTest::lightSaysWhenNoCameraComes() {
    CreateWindow();
    FollowThreePeriods();
    // Google Earth's view refresh set to Never: the link is fetched bare.
    for (int period = 4; period <= 5; ++period) {
        now_ = milliseconds(period * 10000);
        window_->T_TimerTimer();
        QVERIFY(CentreOf(Send("GET {path} HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\n\r\n")));
    }
    auto* light = Find<LiveIndicator>("LiveIndicator");
    QCOMPARE(light->State(), FollowingMonitor::State::NoCamera);
    QCOMPARE(light->toolTip(),
             QStringLiteral("Google Earth sends no camera: create the live link again"));
    QCOMPARE(LiveIndicator::Colour(light->State()), QColor(230, 150, 0));
    QVERIFY(Tip().endsWith(QStringLiteral("\nGoogle Earth sends no camera: create the live link "
                                          "again")));
    QVERIFY(boxes_->boxes.empty());
}

void LiveLinkTest::liveLinkSaysAnOldOneMustBeReplaced_data() {
    QTest::addColumn<QByteArray>("before"); // the file's text; empty: no file
    QTest::addColumn<bool>("old");
    QTest::newRow("no file") << QByteArray() << false;
    QTest::newRow("a live link of an earlier version")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml "
                      "xmlns=\"http://www.opengis.net/kml/2.2\">\n <NetworkLink>\n  "
                      "<name>Tembrel</name>\n  <flyToView>1</flyToView>\n  <Link>\n   "
                      "<href>http://127.0.0.1:24680/TembrelData.KML</href>\n   "
                      "<refreshMode>onInterval</refreshMode>\n   "
                      "<refreshInterval>10</refreshInterval>\n   "
                      "<viewRefreshMode>never</viewRefreshMode>\n   <viewFormat>lon=[lookatLon]"
                      "</viewFormat>\n  </Link>\n </NetworkLink>\n</kml>\n")
        << true;
    QTest::newRow("today's live link") << QByteArray("today") << false;
    QTest::newRow("the file link") << QByteArray("file") << false;
}

void LiveLinkTest::liveLinkSaysAnOldOneMustBeReplaced() {
    QFETCH(QByteArray, before);
    QFETCH(bool, old);
    CreateWindow();
    SetEdits(HelpExample);
    const QString link = viewDirectory_->filePath(QStringLiteral("TembrelLiveLink.kml"));
    if (before == "today") {
        before = QByteArray::fromStdString(GoogleEarthLinkFile::RenderLive(
            window_->ViewServerPort(), window_->ViewServerPath(), 10));
    } else if (before == "file") {
        before = QByteArray::fromStdString(GoogleEarthLinkFile::Render("TembrelData.KML", 10));
    }
    if (!before.isEmpty()) {
        QFile file(link);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    dialogs_->answers.push_back(link);
    Find<QAction>("CreateliveGoogleEarthlink1")->trigger();
    QCOMPARE(boxes_->boxes.size(), std::size_t{1});
    const QString text = boxes_->boxes[0].text;
    QCOMPARE(text.contains(QStringLiteral(
                 "It replaces a live link of an earlier Tembrel, through which Google Earth sends "
                 "no camera. Delete that old link from Google Earth's Places, then open this "
                 "file.")),
             old);
    QVERIFY(text.startsWith(QStringLiteral("The live Google Earth link has been written to")));
}

void LiveLinkTest::lightFollowsTheFetches() {
    CreateWindow();
    auto* light = Find<LiveIndicator>("LiveIndicator");
    QVERIFY(light != nullptr);
    QTRY_VERIFY(light->isVisible()); // once the server listens, right after the first paint
    QCOMPARE(light->State(), FollowingMonitor::State::NotYetFetched);

    SetEdits(HelpExample);
    window_->B_StartClick();
    // Google Earth fetches every 10 s and flies to each view it is handed.
    std::optional<ViewCentre> view = FetchAt(milliseconds(0), 0, 0);
    QVERIFY(view.has_value());
    for (int period = 1; period <= 3; ++period) {
        window_->T_TimerTimer();
        view = FetchAt(milliseconds(period * 10000), view->lon, view->lat);
        QVERIFY(view.has_value());
    }
    QCOMPARE(light->State(), FollowingMonitor::State::Following);
    QCOMPARE(light->toolTip(), QStringLiteral("Google Earth is following"));
    QVERIFY(Tip().endsWith(QStringLiteral("\nGoogle Earth is following")));

    // Then it stops: two periods pass in silence, then a third.
    now_ = milliseconds(30000 + 20000);
    window_->T_TimerTimer();
    QCOMPARE(light->State(), FollowingMonitor::State::Following);
    now_ = milliseconds(30000 + 31000);
    window_->T_TimerTimer();
    QCOMPARE(light->State(), FollowingMonitor::State::NotFetching);
    QCOMPARE(light->toolTip(),
             QStringLiteral("Google Earth has not fetched the view for 3 periods"));
    QVERIFY(Tip().endsWith(QStringLiteral("for 3 periods")));
    QCOMPARE(LiveIndicator::Colour(light->State()), QColor(200, 0, 0));
    QVERIFY(boxes_->boxes.empty());
}

void LiveLinkTest::lightSaysWhenTheCameraStaysAway_data() {
    QTest::addColumn<double>("offEast"); // degrees of longitude from each view
    QTest::addColumn<bool>("away");
    // Snapshots 0.3 km wide: a quarter is 0.3 * 37 / 3600 / 4 = 0.00077 degrees.
    QTest::newRow("at the views") << 0.0 << false;
    QTest::newRow("within a quarter snapshot") << 0.0007 << false;
    QTest::newRow("beyond a quarter snapshot") << 0.0009 << true;
    QTest::newRow("never flies") << 1000.0 << true;
}

void LiveLinkTest::lightSaysWhenTheCameraStaysAway() {
    QFETCH(double, offEast);
    QFETCH(bool, away);
    CreateWindow();
    SetEdits(HelpExample);
    window_->B_StartClick();
    std::optional<ViewCentre> view = FetchAt(milliseconds(0), 0, 0);
    QVERIFY(view.has_value());
    for (int period = 1; period <= 3; ++period) {
        window_->T_TimerTimer();
        // 1000: Fly to View off, the camera stays where it was.
        const double lon = offEast > 999 ? 0 : view->lon + offEast;
        const double lat = offEast > 999 ? 0 : view->lat;
        view = FetchAt(milliseconds(period * 10000), lon, lat);
        QVERIFY(view.has_value());
    }
    auto* light = Find<LiveIndicator>("LiveIndicator");
    QCOMPARE(light->State(),
             away ? FollowingMonitor::State::CameraAway : FollowingMonitor::State::Following);
    QVERIFY(boxes_->boxes.empty());
}

void LiveLinkTest::lightSitsInTheGapRightOfTheGauge() {
    CreateWindow();
    const QWidget* light = Find("LiveIndicator");
    const QWidget* gauge = Find("GA_Progress");
    QCOMPARE(light->parentWidget(), gauge->parentWidget());
    QVERIFY(light->geometry().left() > gauge->geometry().right());
    QVERIFY(gauge->parentWidget()->rect().contains(light->geometry()));
    QCOMPARE(light->geometry().center().y(), gauge->geometry().center().y());
    QCOMPARE(light->focusPolicy(), Qt::NoFocus);
}

void LiveLinkTest::voyageReportExportsTheMissedAndTheSeen() {
    CreateWindow();
    SetEdits(HelpExample);
    window_->B_StartClick();
    // Start and the first tick write the first centre (one centre, held for
    // two periods), which the camera reaches; the second tick's centre it
    // does not (the camera turns back), nor the third's.
    const std::optional<ViewCentre> first = FetchAt(milliseconds(0), 0, 0);
    QVERIFY(first.has_value());
    window_->T_TimerTimer();
    QVERIFY(FetchAt(milliseconds(10000), first->lon, first->lat).has_value());
    window_->T_TimerTimer();
    const std::optional<ViewCentre> second = FetchAt(milliseconds(20000), 0, 0);
    QVERIFY(second.has_value());
    QVERIFY(second->lon != first->lon);
    window_->T_TimerTimer();
    QVERIFY(FetchAt(milliseconds(30000), 0, 0).has_value());
    window_->B_PauseClick();

    const QString missed = viewDirectory_->filePath(QStringLiteral("missed.csv"));
    const QString seen = viewDirectory_->filePath(QStringLiteral("seen.kml"));
    boxes_->answers.push_back({ModalResult::Yes, {}});
    dialogs_->answers.push_back(missed);
    dialogs_->answers.push_back(seen);
    Find<QAction>("Voyagereport1")->trigger();

    QCOMPARE(boxes_->boxes.size(), std::size_t{2});
    QVERIFY(boxes_->boxes[0].text.startsWith(
        QStringLiteral("Google Earth's camera reached 1 of the 3 centres written (missed: 2).")));
    QCOMPARE(dialogs_->requests[0].caption, QStringLiteral("Export missed centres"));
    QCOMPARE(dialogs_->requests[1].caption, QStringLiteral("Export reported boxes"));
    QFile csv(missed);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const PointsImport imported = CsvPointsReader::Read(csv.readAll().toStdString());
    QCOMPARE(imported.points.size(), std::size_t{2});
    QVERIFY(std::abs(static_cast<double>(imported.points[0].longitude) - second->lon) < 1e-5);
    QVERIFY(std::abs(static_cast<double>(imported.points[0].latitude) - second->lat) < 1e-5);
    QFile kml(seen);
    QVERIFY(kml.open(QIODevice::ReadOnly));
    const QByteArray boxes = kml.readAll();
    QVERIFY(boxes.contains("<name>View 1</name>"));
    QVERIFY(!boxes.contains("<name>View 2</name>"));
    QVERIFY(boxes_->boxes[1].text.startsWith(QStringLiteral("Written: ")));
}

void LiveLinkTest::voyageReportBeforeAnyVoyage() {
    CreateWindow();
    Find<QAction>("Voyagereport1")->trigger();
    QCOMPARE(boxes_->Texts(),
             QStringList{QStringLiteral("No voyage has written a view since Tembrel started.")});
    QVERIFY(dialogs_->requests.empty());
}

void LiveLinkTest::measureFillsTheSnapshotFields_data() {
    QTest::addColumn<bool>("accepted");
    QTest::newRow("put into the fields") << true;
    QTest::newRow("declined") << false;
}

void LiveLinkTest::measureFillsTheSnapshotFields() {
    QFETCH(bool, accepted);
    CreateWindow();
    SetEdits(HelpExample);
    boxes_->answers.push_back({accepted ? ModalResult::Yes : ModalResult::No, {}});
    Find<QAction>("Measuresnapshotsize1")->trigger();
    QCOMPARE(boxes_->boxes.size(), std::size_t{1});
    QVERIFY(boxes_->boxes[0].text.startsWith(QStringLiteral("Tembrel has written a view")));

    // The fetch that hands the view over reports the camera elsewhere; the
    // next one finds it at the Area's centre, 48.86 - 0.2 * 32 / 3600 and
    // 2.2877 + 0.5 * 37 / 3600, showing 0.0185 by 0.0072 degrees.
    const std::optional<ViewCentre> view = FetchAt(milliseconds(0), 0, 0);
    QVERIFY(view.has_value());
    QVERIFY(std::abs(view->lat - 48.858222) < 1e-5);
    QVERIFY(std::abs(view->lon - 2.292839) < 1e-5);
    QVERIFY(FetchAt(milliseconds(10000), view->lon, view->lat, 0.00925, 0.0036).has_value());
    QTRY_COMPARE(boxes_->boxes.size(), std::size_t{2});
    QCOMPARE(boxes_->boxes[1].text,
             QStringLiteral("Google Earth shows 1.800 km by 0.810 km at 250 m, in a window of "
                            "1000 x 700 pixels.\n\nPut them into Snapshots Width and Height?"));
    QCOMPARE(Find<QLineEdit>("E_VEast")->text(),
             accepted ? QStringLiteral("1.800") : QStringLiteral("0.3"));
    QCOMPARE(Find<QLineEdit>("E_VSouth")->text(),
             accepted ? QStringLiteral("0.810") : QStringLiteral("0.2"));
    // The measure's view is no centre of a voyage.
    QVERIFY(window_->Arrivals().Views().empty());
}

void LiveLinkTest::measureGivesUpWhenGoogleEarthDoesNotShowIt() {
    CreateWindow();
    SetEdits(HelpExample);
    Find<QAction>("Measuresnapshotsize1")->trigger();
    auto* limit = Find<QTimer>("MeasureLimit");
    QVERIFY(limit->isActive());
    QVERIFY(limit->interval() >= 30000);
    limit->start(0); // the limit, reached now
    QTRY_COMPARE(boxes_->boxes.size(), std::size_t{2});
    QVERIFY(boxes_->boxes[1].text.startsWith(
        QStringLiteral("Google Earth did not show the measured view in time.")));
    // A late fetch changes nothing.
    const std::optional<ViewCentre> view = FetchAt(milliseconds(0), 0, 0);
    QVERIFY(FetchAt(milliseconds(10000), view->lon, view->lat).has_value());
    QCoreApplication::processEvents();
    QCOMPARE(boxes_->boxes.size(), std::size_t{2});
    QCOMPARE(Find<QLineEdit>("E_VEast")->text(), QStringLiteral("0.3"));
}

void LiveLinkTest::measureIsRefusedDuringAVoyage() {
    CreateWindow();
    SetEdits(HelpExample);
    window_->B_StartClick();
    Find<QAction>("Measuresnapshotsize1")->trigger();
    QCOMPARE(boxes_->Texts(), QStringList{QStringLiteral(
                                  "Measure the snapshot size while no voyage is in progress.")});
    QVERIFY(!Find<QTimer>("MeasureLimit")->isActive());
}

QTEST_MAIN(LiveLinkTest)
#include "LiveLinkTest.moc"
