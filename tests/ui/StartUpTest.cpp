// What the main window's start leaves until after its first paint: the view
// server and its kept port, and every size of the window's icon but the ones
// the system asks for. Each is there as soon as something needs it.
#include "MainWindowFixture.h"

#include "PngIconEngine.h"
#include "PortSetting.h"
#include "ViewServer.h"

#include <QAction>
#include <QEventLoop>
#include <QIcon>
#include <QImage>
#include <QTcpSocket>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <string>

namespace tembrel::test {
namespace {

class CountingPortSetting final : public PortSetting {
public:
    std::uint16_t kept = 0;
    int reads = 0;
    std::uint16_t Read() override {
        ++reads;
        return kept;
    }
    bool Save(std::uint16_t port) override {
        kept = port;
        return true;
    }
    std::string ReadSecret() override { return secret; }
    bool SaveSecret(const std::string& chosen) override {
        secret = chosen;
        return true;
    }
    std::string secret;
};

const QStringList HelpExample = {
    QStringLiteral("48.86"), QStringLiteral("2.2877"), QStringLiteral("1"),   QStringLiteral("0.4"),
    QStringLiteral("0.3"),   QStringLiteral("0.2"),    QStringLiteral("250"), QStringLiteral("10")};

// The body of a plain GET of the live view at its path, as the link asks.
QByteArray FetchView(std::uint16_t port, const std::string& path) {
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    client.write(QStringLiteral("GET %1 HTTP/1.1\r\nHost: 127.0.0.1:%2\r\n\r\n")
                     .arg(QString::fromStdString(path))
                     .arg(port)
                     .toLatin1());
    QByteArray received;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&client, &QTcpSocket::readyRead, &loop, [&] {
        received += client.readAll();
        if (received.endsWith("</kml>\r\n")) {
            loop.quit();
        }
    });
    limit.start(3000);
    loop.exec();
    return received;
}

} // namespace

class StartUpTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void serverListensRightAfterTheFirstPaint();
    void aViewWrittenBeforeThePaintIsServed();
    void iconGivesEachPictureAtItsSize_data();
    void iconGivesEachPictureAtItsSize();

private:
    // The window as main() makes it, not shown yet.
    void CreateHiddenWindow();

    std::unique_ptr<CountingPortSetting> port_;
};

void StartUpTest::init() {
    Reset();
    port_ = std::make_unique<CountingPortSetting>();
    viewServerPort_ = port_.get();
}

void StartUpTest::cleanup() {
    QCOMPARE(boxes_->unscripted, 0);
    window_.reset();
}

void StartUpTest::CreateHiddenWindow() {
    window_ = std::make_unique<TF_Main>(MainWindowServices{
        .settings = *settings_,
        .shell = *shell_,
        .cacheFolder = *cacheFolder_,
        .messageBox = *boxes_,
        .viewFileDirectory = viewDirectory_->path().toStdString(),
        .decimalSeparator = [this] { return separator_; },
        .fileDialog = dialogs_.get(),
        .viewServerPort = viewServerPort_,
    });
}

void StartUpTest::serverListensRightAfterTheFirstPaint() {
    CreateHiddenWindow();
    QCOMPARE(port_->reads, 0);
    QVERIFY(window_->findChild<ViewServer*>() == nullptr);
    auto* light = Find("LiveIndicator");
    QVERIFY(light != nullptr);
    QVERIFY(!light->isVisible());

    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QTRY_COMPARE(port_->reads, 1);
    const auto* server = window_->findChild<ViewServer*>();
    QVERIFY(server != nullptr);
    QVERIFY(server->Port() != 0);
    QCOMPARE(port_->kept, server->Port()); // the chosen port is kept
    QVERIFY(light->isVisible());
    // Asked again, the same server: the kept port is read once.
    QCOMPARE(window_->ViewServerPort(), server->Port());
    QCOMPARE(port_->reads, 1);
}

void StartUpTest::aViewWrittenBeforeThePaintIsServed() {
    CreateHiddenWindow();
    SetEdits(HelpExample);
    window_->B_StartClick();
    QCOMPARE(port_->reads, 1);
    const std::uint16_t port = window_->ViewServerPort();
    QVERIFY(port != 0);
    const QByteArray view = FetchView(port, window_->ViewServerPath());
    QVERIFY2(view.contains("<latitude>48.8591117858887</latitude>"), view.constData());
}

void StartUpTest::iconGivesEachPictureAtItsSize_data() {
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("picture"); // the side of the picture read
    QTest::addColumn<int>("given");   // the side of what the icon gives
    QTest::newRow("16: its own") << 16 << 16 << 16;
    QTest::newRow("256: its own") << 256 << 256 << 256;
    QTest::newRow("20: the 32 made smaller") << 20 << 32 << 20;
    QTest::newRow("100: the 128 made smaller") << 100 << 128 << 100;
    QTest::newRow("512: the 256, never made larger") << 512 << 256 << 256;
}

void StartUpTest::iconGivesEachPictureAtItsSize() {
    QFETCH(int, asked);
    QFETCH(int, picture);
    QFETCH(int, given);
    CreateHiddenWindow();
    const QIcon icon = window_->windowIcon();
    QList<QSize> sides;
    for (const int side : {16, 32, 48, 64, 128, 256}) {
        sides.append(QSize(side, side));
    }
    QCOMPARE(icon.availableSizes(), sides);
    QCOMPARE(icon.actualSize(QSize(asked, asked)), QSize(given, given));

    // The same pixels as an icon of all six pictures read at once.
    QIcon allRead;
    for (const QSize& side : sides) {
        allRead.addPixmap(
            PngIconEngine::ReadPng(QStringLiteral(":/tembrel-%1.png").arg(side.width())));
    }
    QCOMPARE(allRead.pixmap(QSize(asked, asked)).size(), QSize(given, given));
    const QImage shown = icon.pixmap(QSize(asked, asked)).toImage();
    QCOMPARE(shown.size(), QSize(given, given));
    QCOMPARE(shown, allRead.pixmap(QSize(asked, asked)).toImage());
    QCOMPARE(PngIconEngine::ReadPng(QStringLiteral(":/tembrel-%1.png").arg(picture)).size(),
             QSize(picture, picture));
}

} // namespace tembrel::test

QTEST_MAIN(tembrel::test::StartUpTest)
#include "StartUpTest.moc"
