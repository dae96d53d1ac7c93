// SIGTERM and SIGINT reach the GUI thread as one quit request, and the
// handlers before them come back when the object goes.

#include "QuitSignals.h"

#include <QSignalSpy>
#include <QTest>

#include <csignal>

using namespace tembrel;

class QuitSignalsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void signalBecomesOneQuitRequest_data();
    void signalBecomesOneQuitRequest();
    void previousHandlersComeBack();
    void secondInstanceLeavesTheFirstInPlace();
};

namespace {

int handledElsewhere = 0;
extern "C" void CountingHandler(int) {
    ++handledElsewhere;
}

} // namespace

void QuitSignalsTest::signalBecomesOneQuitRequest_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("times");
    QTest::newRow("SIGTERM") << SIGTERM << 1;
    QTest::newRow("SIGINT") << SIGINT << 1;
    QTest::newRow("three SIGTERM before the loop runs") << SIGTERM << 3;
}

void QuitSignalsTest::signalBecomesOneQuitRequest() {
    QFETCH(int, number);
    QFETCH(int, times);
    QuitSignals quit;
    QVERIFY(quit.Installed());
    QSignalSpy requests(&quit, &QuitSignals::quitRequested);
    for (int i = 0; i < times; ++i) {
        QCOMPARE(std::raise(number), 0);
    }
    // The handler only writes to the socket; the request comes from the loop.
    QCOMPARE(requests.count(), 0);
    QTRY_COMPARE(requests.count(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(requests.count(), 1);
}

void QuitSignalsTest::previousHandlersComeBack() {
    std::signal(SIGTERM, CountingHandler);
    {
        QuitSignals quit;
        QSignalSpy requests(&quit, &QuitSignals::quitRequested);
        std::raise(SIGTERM);
        QTRY_COMPARE(requests.count(), 1);
        QCOMPARE(handledElsewhere, 0);
    }
    std::raise(SIGTERM);
    QCOMPARE(handledElsewhere, 1);
    std::signal(SIGTERM, SIG_DFL);
}

void QuitSignalsTest::secondInstanceLeavesTheFirstInPlace() {
    QuitSignals first;
    QSignalSpy requests(&first, &QuitSignals::quitRequested);
    {
        QuitSignals second;
        QVERIFY(!second.Installed());
    }
    std::raise(SIGINT);
    QTRY_COMPARE(requests.count(), 1);
}

QTEST_MAIN(QuitSignalsTest)
#include "QuitSignalsTest.moc"
