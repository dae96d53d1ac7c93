// Where a window goes: centred on the free area of its screen by its outer
// frame, the client area inside the frame.

#include "WindowManners.h"

#include <QTest>

using namespace tembrel;

class WindowMannersTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void centredByTheOuterFrame_data() {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QRect>("client");
        // openbox's frame: 1 pixel, a 20-pixel title bar above. The help
        // window's outer 643 x 374 leaves 641 x 353 inside.
        QTest::newRow("help under openbox") << QRect(0, 0, 1024, 768) << QSize(643, 374)
                                            << QMargins(1, 20, 1, 1) << QRect(191, 217, 641, 353);
        // Centred by the client area, the window would sit 10 pixels high.
        QTest::newRow("main window under openbox")
            << QRect(0, 0, 1024, 768) << QSize(472, 504) << QMargins(1, 20, 1, 1)
            << QRect(277, 152, 470, 483);
        QTest::newRow("no frame known")
            << QRect(0, 0, 1024, 768) << QSize(354, 375) << QMargins() << QRect(335, 196, 354, 375);
        QTest::newRow("a panel above the free area")
            << QRect(0, 30, 1280, 994) << QSize(643, 374) << QMargins(8, 31, 8, 8)
            << QRect(318 + 8, 30 + 310 + 31, 627, 335);
        QTest::newRow("second screen to the left")
            << QRect(-1920, 0, 1920, 1080) << QSize(100, 100) << QMargins(2, 2, 2, 2)
            << QRect(-1920 + 910 + 2, 490 + 2, 96, 96);
    }

    void centredByTheOuterFrame() {
        QFETCH(QRect, available);
        QFETCH(QSize, outer);
        QFETCH(QMargins, frame);
        QFETCH(QRect, client);
        QCOMPARE(WindowManners::CentredClient(available, outer, frame), client);
    }
};

QTEST_MAIN(WindowMannersTest)
#include "WindowMannersTest.moc"
