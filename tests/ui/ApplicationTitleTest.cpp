// The default error box's caption, from the executable's name.

#include "ApplicationTitle.h"

#include <QTest>

class ApplicationTitleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void comesFromTheExecutablesName_data();
    void comesFromTheExecutablesName();
};

void ApplicationTitleTest::comesFromTheExecutablesName_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::newRow("posix") << QStringLiteral("/usr/bin/tembrel") << QStringLiteral("tembrel");
    QTest::newRow("windows") << QStringLiteral("C:\\x\\TEMBREL.EXE") << QStringLiteral("Tembrel");
    QTest::newRow("bare") << QStringLiteral("tembrel") << QStringLiteral("tembrel");
    QTest::newRow("upper case") << QStringLiteral("TEMBREL") << QStringLiteral("Tembrel");
    QTest::newRow("first full stop") << QStringLiteral("/opt/My.App.bin") << QStringLiteral("My");
    QTest::newRow("mixed separators")
        << QStringLiteral("C:\\a/b\\ToolKit.exe") << QStringLiteral("Toolkit");
    QTest::newRow("digit first") << QStringLiteral("/x/9LIVES.exe") << QStringLiteral("9lives");
    QTest::newRow("hidden") << QStringLiteral("/x/.hidden") << QString();
    QTest::newRow("folder") << QStringLiteral("/dir/") << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("one letter") << QStringLiteral("x") << QStringLiteral("x");
}

void ApplicationTitleTest::comesFromTheExecutablesName() {
    QFETCH(QString, path);
    QFETCH(QString, title);
    QCOMPARE(QString::fromStdString(tembrel::ApplicationTitle(path.toStdString())), title);
}

QTEST_MAIN(ApplicationTitleTest)
#include "ApplicationTitleTest.moc"
