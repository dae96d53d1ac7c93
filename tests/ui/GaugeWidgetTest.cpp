// The progress gauge: clamping, the truncated percentage and what it draws.

#include "GaugeWidget.h"

#include <QImage>
#include <QTest>

#include <cstdint>
#include <limits>

using tembrel::GaugeWidget;

class GaugeWidgetTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void percentageIsTruncated_data();
    void percentageIsTruncated();
    void addsAreClampedAndSaturate_data();
    void addsAreClampedAndSaturate();
    void otherMaximum();
    void drawsBarBackgroundAndBorder();
};

void GaugeWidgetTest::percentageIsTruncated_data() {
    QTest::addColumn<qint64>("progress");
    QTest::addColumn<qint64>("held");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64{0} << qint64{0} << QStringLiteral("0%");
    QTest::newRow("just below 1%") << qint64{9999999} << qint64{9999999} << QStringLiteral("0%");
    QTest::newRow("1%") << qint64{10000000} << qint64{10000000} << QStringLiteral("1%");
    QTest::newRow("one sixth") << qint64{166666667} << qint64{166666667} << QStringLiteral("16%");
    QTest::newRow("three thirds, rounded")
        << qint64{999999999} << qint64{999999999} << QStringLiteral("99%");
    QTest::newRow("full") << qint64{1000000000} << qint64{1000000000} << QStringLiteral("100%");
    QTest::newRow("beyond") << qint64{1000000001} << qint64{1000000000} << QStringLiteral("100%");
    QTest::newRow("negative") << qint64{-1} << qint64{0} << QStringLiteral("0%");
}

void GaugeWidgetTest::percentageIsTruncated() {
    QFETCH(qint64, progress);
    QFETCH(qint64, held);
    QFETCH(QString, text);
    GaugeWidget gauge;
    gauge.SetMaximum(1000000000);
    gauge.SetProgress(progress);
    QCOMPARE(gauge.Progress(), held);
    QCOMPARE(gauge.Text(), text);
}

void GaugeWidgetTest::addsAreClampedAndSaturate_data() {
    QTest::addColumn<qint64>("step");
    QTest::addColumn<int>("count");
    QTest::addColumn<qint64>("held");
    QTest::addColumn<QString>("text");
    QTest::newRow("6 snapshots") << qint64{166666667} << 6 << qint64{1000000000}
                                 << QStringLiteral("100%");
    QTest::newRow("3 snapshots") << qint64{333333333} << 3 << qint64{999999999}
                                 << QStringLiteral("99%");
    QTest::newRow("184 snapshots, 141 visited")
        << qint64{5434783} << 141 << qint64{766304403} << QStringLiteral("76%");
    QTest::newRow("more steps than snapshots")
        << qint64{500000000} << 3 << qint64{1000000000} << QStringLiteral("100%");
    QTest::newRow("huge step") << std::numeric_limits<qint64>::max() << 2 << qint64{1000000000}
                               << QStringLiteral("100%");
    QTest::newRow("negative steps") << qint64{-7} << 2 << qint64{0} << QStringLiteral("0%");
}

void GaugeWidgetTest::addsAreClampedAndSaturate() {
    QFETCH(qint64, step);
    QFETCH(int, count);
    QFETCH(qint64, held);
    QFETCH(QString, text);
    GaugeWidget gauge;
    gauge.SetMaximum(1000000000);
    for (int i = 0; i < count; ++i) {
        gauge.AddProgress(step);
    }
    QCOMPARE(gauge.Progress(), held);
    QCOMPARE(gauge.Text(), text);
}

void GaugeWidgetTest::otherMaximum() {
    GaugeWidget gauge; // 100 until the window sets its maximum
    QCOMPARE(gauge.Maximum(), 100);
    gauge.SetProgress(250);
    QCOMPARE(gauge.Progress(), qint64{100});
    gauge.SetProgress(37);
    QCOMPARE(gauge.Text(), QStringLiteral("37%"));
    gauge.SetMaximum(7);
    QCOMPARE(gauge.Progress(), qint64{7}); // clamped to the new maximum
    gauge.SetProgress(2);
    QCOMPARE(gauge.Text(), QStringLiteral("28%"));
    gauge.SetMaximum(0);
    QCOMPARE(gauge.Maximum(), 1);
}

void GaugeWidgetTest::drawsBarBackgroundAndBorder() {
    GaugeWidget gauge;
    gauge.SetMaximum(1000000000);
    gauge.resize(437, 20);
    gauge.SetProgress(250000000);
    QImage picture(gauge.size(), QImage::Format_RGB32);
    gauge.render(&picture);

    const QColor background = gauge.palette().color(QPalette::ToolTipBase);
    const QColor border = gauge.palette().color(QPalette::WindowText);
    QCOMPARE(QColor(picture.pixel(0, 0)), border);
    QCOMPARE(QColor(picture.pixel(436, 19)), border);
    // A quarter of the inside is navy, the rest the tooltip background.
    QCOMPARE(QColor(picture.pixel(5, 10)), QColor(0, 0, 128));
    QCOMPARE(QColor(picture.pixel(105, 10)), QColor(0, 0, 128));
    QCOMPARE(QColor(picture.pixel(112, 10)), background);
    QCOMPARE(QColor(picture.pixel(430, 10)), background);
    // The text is centred: it darkens pixels around the middle only.
    int textPixels = 0;
    for (int x = 150; x < 287; ++x) {
        for (int y = 1; y < 19; ++y) {
            textPixels += QColor(picture.pixel(x, y)) != background ? 1 : 0;
        }
    }
    QVERIFY(textPixels > 10);

    gauge.SetProgress(0);
    gauge.render(&picture);
    QCOMPARE(QColor(picture.pixel(5, 10)), background);
}

QTEST_MAIN(GaugeWidgetTest)
#include "GaugeWidgetTest.moc"
