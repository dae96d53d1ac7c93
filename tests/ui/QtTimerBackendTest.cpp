// The voyage timer's rules on a real QTimer: an interval of 0 gives no ticks,
// an unchanged interval or flag leaves the running period alone, a changed
// interval restarts it.

#include "QtTimerBackend.h"
#include "TimerModel.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using tembrel::QtTimerBackend;
using tembrel::TimerModel;

class QtTimerBackendTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void armAndDisarm_data();
    void armAndDisarm();
    void modelRulesOnTheQTimer();
    void ticksArrive();
};

void QtTimerBackendTest::armAndDisarm_data() {
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("ticks");
    QTest::newRow("1 s") << 1000 << true;
    QTest::newRow("1 ms") << 1 << true;
    QTest::newRow("zero") << 0 << false;
    QTest::newRow("negative") << -1000 << false;
}

void QtTimerBackendTest::armAndDisarm() {
    QFETCH(int, interval);
    QFETCH(bool, ticks);
    QTimer timer;
    QtTimerBackend backend(timer);
    backend.Arm(interval);
    QCOMPARE(timer.isActive(), ticks);
    if (ticks) {
        QCOMPARE(timer.interval(), interval);
        QVERIFY(!timer.isSingleShot());
    }
    backend.Disarm();
    QVERIFY(!timer.isActive());
}

void QtTimerBackendTest::modelRulesOnTheQTimer() {
    QTimer timer;
    QtTimerBackend backend(timer);
    TimerModel model(backend);
    QVERIFY(!timer.isActive());

    model.SetInterval(10000);
    QVERIFY(!timer.isActive()); // not enabled yet
    model.SetEnabled(true);
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), 10000);

    // Unchanged interval or flag: the running period goes on (a restart
    // would bring the time left back to the whole period).
    QTRY_VERIFY(timer.remainingTime() < 9980);
    model.SetInterval(10000);
    model.SetEnabled(true);
    QVERIFY(timer.remainingTime() < 9980);

    // A new interval restarts the period.
    model.SetInterval(20000);
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), 20000);
    QVERIFY(timer.remainingTime() > 19900);

    // 0 ms: enabled, but no ticks; a later interval brings them back.
    model.SetInterval(0);
    QVERIFY(model.Enabled());
    QVERIFY(!timer.isActive());
    model.SetInterval(30000);
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), 30000);

    model.SetEnabled(false);
    QVERIFY(!timer.isActive());
    QCOMPARE(model.Interval(), 30000);
}

void QtTimerBackendTest::ticksArrive() {
    QTimer timer;
    QtTimerBackend backend(timer);
    QSignalSpy ticks(&timer, &QTimer::timeout);
    backend.Arm(5);
    QTRY_VERIFY(ticks.count() >= 3); // periodic, not single-shot
    backend.Disarm();
    const auto count = ticks.count();
    QCoreApplication::processEvents();
    QCOMPARE(ticks.count(), count);
}

QTEST_MAIN(QtTimerBackendTest)
#include "QtTimerBackendTest.moc"
