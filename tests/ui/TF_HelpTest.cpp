#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <vector>

#include "TF_Help.h"

using tembrel::TF_Help;

namespace {

// The pages as the user must read them, written out here independently of
// the stored texts; trailing blanks are part of the lines.
const std::vector<const char*> kIntroduction = {
    "Tembrel (Tembrel) is a program that integrates with Google Earth (GE) and ",
    "builds the cache file for a specific area needed by the user.",
    "Tembrel automatically surfs the area you want without any need to surf it by your hands..",
    "",
    "You may always want to scan a big area over GE with a detailed zoom (e.g. from only ",
    "200 meters altitude) but the problem is that you have to move over the whole area with",
    "the mouse so GE will refresh every snapshot and save it in its cache for later offline",
    "view.",
    "This program will take the details of the area you want to scan and the zooming value ",
    "and it will fill the cache automatically.",
    "",
    "Tembrel gives you the option to scan an area, multiple areas, or scattered points.",
    "",
    "You can view the cache files by pressing the menu \"GE Cache\".",
};

const std::vector<const char*> kQuickStart = {
    "As a quick start you have to do the following:",
    "1. Open Google Earth (GE).",
    "2. Go to \"Tools\" menu -> Options -> Touring tab",
    "3. Set the \"Fly to Speed\" option to the max Fast.",
    "4. Go to \"Add\" menu -> Network Link, then browse for the file called TembrelData.KML ",
    "which is beside the program.",
    "5. In the appearing dialog and in the Refresh tab, check the option \"Fly to view on ",
    "refresh\" and then choose \"periodically\" and set the time to 10 seconds (you can change",
    " the refresh rate as you want).",
    "6. Press OK.",
    "7. Open Tembrel (Tembrel), while your Google earth is still running.",
    "8. Set the data you want to scan in the program and press Start Voyage. You will see ",
    "that GE is refreshing the snapshots automatically. (Set the Refresh Every field the same",
    "as the value you set for the network link).",
    "9. If you want to pause the voyage, press \"Pause\". If you want to resume the voyage ",
    "again, press \"Resume Voyage\". IF you want to stop at any time, press \"Stop\" ",
    "and the program will stops and clear all values.",
};

const std::vector<const char*> kExample = {
    "This example illustrates the values to be put in Tembrel...",
    "Let's suppose that you want to scan the Eiffel Tower area with Zoom of 250 meters",
    "altitude, here are the values you will set:",
    "",
    "Latitude: 48.86 degrees",
    "Longitude: 2.2877 degrees",
    "Area width of 1 km to the East and a height of 0.4 km to the South",
    "",
    "For the snapshots:",
    "Snapshots width of 0.3 km horizontally and height of 0.2 km vertically (got from the ",
    "height and width of the image which is displayed on GE window from the selected ",
    "Altitude).",
    "Zoom Altitude: 250 meters",
    "Refresh Every 10 seconds (to be the same as the rate you made at step 5 in the ",
    "Quick Start).",
    "",
    "N.B. You have to keep Google Earth running while Tembrel is running.",
};

QStringList Lines(const std::vector<const char*>& table) {
    QStringList lines;
    for (const char* line : table) {
        lines << QString::fromLatin1(line);
    }
    return lines;
}

QPlainTextEdit* Memo(const TF_Help& help, const QString& name) {
    return help.findChild<QPlainTextEdit*>(name);
}

const QStringList kMemoNames = {QStringLiteral("M_intro"), QStringLiteral("Memo1"),
                                QStringLiteral("Memo2")};

// The lines the memo shows on screen, wrapped ones counted one by one.
int ScreenLines(QPlainTextEdit& memo) {
    int lines = 0;
    auto* layout = memo.document()->documentLayout();
    for (QTextBlock block = memo.document()->begin(); block.isValid(); block = block.next()) {
        layout->blockBoundingRect(block); // lays the block out
        lines += block.layout()->lineCount();
    }
    return lines;
}

} // namespace

class TF_HelpTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textsAreStoredLineForLine_data() {
        QTest::addColumn<QString>("memo");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("Introduction") << QStringLiteral("M_intro") << 14 << Lines(kIntroduction);
        QTest::newRow("Quick Start") << QStringLiteral("Memo1") << 17 << Lines(kQuickStart);
        QTest::newRow("Example") << QStringLiteral("Memo2") << 17 << Lines(kExample);
    }

    void textsAreStoredLineForLine() {
        QFETCH(QString, memo);
        QFETCH(int, count);
        QFETCH(QStringList, lines);
        QCOMPARE(lines.size(), count);

        TF_Help help(nullptr);
        const QPlainTextEdit* edit = Memo(help, memo);
        QVERIFY(edit != nullptr);
        const QTextDocument* document = edit->document();
        QCOMPARE(document->blockCount(), count);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(document->findBlockByNumber(i).text(), lines[i]);
        }
        QCOMPARE(edit->toPlainText(), lines.join(QLatin1Char('\n')));
    }

    void pages_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("background");
        const QColor systemBackground = QApplication::palette().color(QPalette::Base);
        QTest::newRow("Introduction")
            << 0 << QStringLiteral("TabSheet1") << QStringLiteral("Introduction")
            << QStringLiteral("Panel1") << QStringLiteral("M_intro") << QColor(128, 0, 0)
            << QColor(Qt::white);
        QTest::newRow("Quick Start")
            << 1 << QStringLiteral("TabSheet2") << QStringLiteral("Quick Start")
            << QStringLiteral("Panel2") << QStringLiteral("Memo1") << QColor(0, 128, 0)
            << QColor(Qt::white);
        QTest::newRow("Example") << 2 << QStringLiteral("TabSheet3") << QStringLiteral("Example")
                                 << QStringLiteral("Panel3") << QStringLiteral("Memo2")
                                 << QColor(255, 0, 0) << systemBackground;
    }

    void pages() {
        QFETCH(int, index);
        QFETCH(QString, sheet);
        QFETCH(QString, caption);
        QFETCH(QString, panel);
        QFETCH(QString, memo);
        QFETCH(QColor, text);
        QFETCH(QColor, background);

        TF_Help help(nullptr);
        const auto* pages = help.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        QVERIFY(pages != nullptr);
        QCOMPARE(pages->count(), 3);
        QCOMPARE(pages->widget(index)->objectName(), sheet);
        QCOMPARE(pages->tabText(index), caption);

        const QPlainTextEdit* edit = Memo(help, memo);
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->parentWidget()->objectName(), panel);
        QCOMPARE(edit->parentWidget()->parentWidget(), pages->widget(index));
        QVERIFY(qobject_cast<QFrame*>(edit->parentWidget()) != nullptr);
        QVERIFY(edit->isReadOnly());
        QCOMPARE(edit->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(edit->palette().color(QPalette::Text), text);
        QCOMPARE(edit->palette().color(QPalette::Base), background);
        QCOMPARE(edit->font().pixelSize(), 13);
        const QString family = QFontInfo(edit->font()).family();
        QVERIFY2(family == QStringLiteral("Verdana") || family == QStringLiteral("DejaVu Sans"),
                 qPrintable(family));
    }

    void window() {
        QWidget owner;
        TF_Help help(&owner);
        QCOMPARE(help.windowTitle(), QStringLiteral("Tembrel Help"));
        QCOMPARE(help.parentWidget(), &owner);
        QVERIFY(help.isWindow());
        QVERIFY(help.isModal());
        const Qt::WindowFlags flags = help.windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(help.minimumSize().width() < 643 && help.maximumSize().width() > 643);

        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        // 643 x 374 with the frame; where the platform reports none, a
        // Windows frame is assumed.
        const QMargins frame = help.windowHandle()->frameMargins();
        const QSize expected = frame.isNull() ? QSize(627, 335) : QSize(643, 374).shrunkBy(frame);
        QCOMPARE(help.size(), expected);
        const QPoint centre = help.screen()->availableGeometry().center();
        QVERIFY(std::abs(help.frameGeometry().center().x() - centre.x()) <= 1);
        QVERIFY(std::abs(help.frameGeometry().center().y() - centre.y()) <= 1);
        help.close();
    }

    // GIVEN a help window left on its last page, scrolled down, caret moved
    // WHEN it is destroyed and the help is opened again
    // THEN the new window shows the first page, every text at its start.
    void reopensOnFirstPageAtTop() {
        QWidget owner;
        {
            TF_Help first(&owner);
            first.show();
            QVERIFY(QTest::qWaitForWindowExposed(&first));
            first.resize(300, 150); // small enough to scroll
            auto* pages = first.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
            pages->setCurrentIndex(2);
            QPlainTextEdit* example = Memo(first, QStringLiteral("Memo2"));
            QTest::keyClick(example, Qt::Key_End, Qt::ControlModifier);
            QTRY_VERIFY(example->verticalScrollBar()->value() > 0);
            QVERIFY(example->textCursor().position() > 0);
            first.close();
        }
        TF_Help again(&owner);
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        auto* pages = again.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE(pages->currentWidget()->objectName(), QStringLiteral("TabSheet1"));
        for (const QString& name : kMemoNames) {
            QPlainTextEdit* memo = Memo(again, name);
            QCOMPARE(memo->verticalScrollBar()->value(), 0);
            QCOMPARE(memo->textCursor().position(), 0);
        }
    }

    void typingChangesNothing_data() {
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("typed");
        for (const QString& memo : kMemoNames) {
            const QByteArray name = memo.toLatin1();
            QTest::newRow((name + " letters").constData())
                << memo << QKeySequence() << QStringLiteral("abc XYZ 123");
            QTest::newRow((name + " Return").constData())
                << memo << QKeySequence(Qt::Key_Return) << QString();
            QTest::newRow((name + " Backspace").constData())
                << memo << QKeySequence(Qt::Key_Backspace) << QString();
            QTest::newRow((name + " Delete").constData())
                << memo << QKeySequence(Qt::Key_Delete) << QString();
            QTest::newRow((name + " paste").constData())
                << memo << QKeySequence(QKeySequence::Paste) << QString();
            QTest::newRow((name + " cut").constData())
                << memo << QKeySequence(QKeySequence::Cut) << QString();
            QTest::newRow((name + " tab").constData())
                << memo << QKeySequence(Qt::Key_Tab) << QString();
        }
    }

    void typingChangesNothing() {
        QFETCH(QString, memo);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, typed);

        TF_Help help(nullptr);
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        QPlainTextEdit* edit = Memo(help, memo);
        help.findChild<QTabWidget*>(QStringLiteral("PageControl1"))
            ->setCurrentWidget(edit->parentWidget()->parentWidget());
        edit->setFocus();
        const QString before = edit->toPlainText();
        QApplication::clipboard()->setText(QStringLiteral("pasted"));

        QTest::keyClick(edit, Qt::Key_Down);                   // caret inside the text
        QTest::keyClick(edit, Qt::Key_End, Qt::ShiftModifier); // and a selection
        if (!typed.isEmpty()) {
            QTest::keyClicks(edit, typed);
        } else {
            QTest::keySequence(edit, keys);
        }
        QCOMPARE(edit->toPlainText(), before);
        QVERIFY(!edit->document()->isModified());
    }

    // Read-only still means the reader can move the caret, select and copy.
    void caretMovesAndTextCopies() {
        TF_Help help(nullptr);
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        QPlainTextEdit* intro = Memo(help, QStringLiteral("M_intro"));
        intro->setFocus();
        QTest::keyClick(intro, Qt::Key_Down);
        QVERIFY(intro->textCursor().position() > 0);
        QApplication::clipboard()->clear();
        QTest::keySequence(intro, QKeySequence::SelectAll);
        QTest::keySequence(intro, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), Lines(kIntroduction).join(QLatin1Char('\n')));
    }

    void narrowerWrapsMoreWiderNeverJoins() {
        TF_Help help(nullptr);
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        help.resize(900, 400);
        QPlainTextEdit* quickStart = Memo(help, QStringLiteral("Memo1"));
        help.findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
        QTRY_VERIFY(quickStart->width() > 800);
        const int wide = ScreenLines(*quickStart);
        QCOMPARE(wide, 17); // every stored line fits: one screen line each

        help.resize(350, 400);
        QTRY_VERIFY(quickStart->width() < 360);
        const int narrow = ScreenLines(*quickStart);
        QVERIFY2(narrow > wide, qPrintable(QString::number(narrow)));
        QCOMPARE(quickStart->document()->blockCount(), 17);

        help.resize(2000, 400);
        QTRY_VERIFY(quickStart->width() > 1900);
        QCOMPARE(ScreenLines(*quickStart), 17);
    }

    void escapeDoesNotClose() {
        TF_Help help(nullptr);
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        QPlainTextEdit* intro = Memo(help, QStringLiteral("M_intro"));
        intro->setFocus();
        QTest::keyClick(intro, Qt::Key_Escape);
        QTest::keyClick(help.findChild<QTabWidget*>(QStringLiteral("PageControl1")),
                        Qt::Key_Escape);
        QTest::keyClick(&help, Qt::Key_Escape);
        QVERIFY(help.isVisible());
        QVERIFY(help.close()); // the close box
        QVERIFY(!help.isVisible());
    }

    // At its opening size each page shows its whole text, unwrapped.
    void opensShowingEachPageWhole() {
        TF_Help help(nullptr);
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        auto* pages = help.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            QPlainTextEdit* memo = Memo(help, kMemoNames[i]);
            QTRY_VERIFY(memo->isVisible());
            QTRY_VERIFY2(!memo->verticalScrollBar()->isVisible(), qPrintable(kMemoNames[i]));
            QVERIFY2(!memo->horizontalScrollBar()->isVisible(), qPrintable(kMemoNames[i]));
            QCOMPARE(ScreenLines(*memo), memo->document()->blockCount());
        }
    }

    // The way the main window opens it: create, run modally, delete.
    void modalUntilClosedThenDestroyed() {
        QWidget owner;
        owner.show();
        auto* help = new TF_Help(&owner);
        QPointer<TF_Help> window(help);
        QPointer<QPlainTextEdit> memo(Memo(*help, QStringLiteral("M_intro")));
        bool wasModal = false;
        bool closed = false;
        QTimer::singleShot(0, help, [&] {
            wasModal = QApplication::activeModalWidget() == help;
            closed = help->close();
            if (help->isVisible()) {
                help->done(QDialog::Rejected); // don't hang the suite
            }
        });
        help->exec();
        QVERIFY(wasModal);
        QVERIFY(closed);
        QVERIFY(owner.findChildren<TF_Help*>().contains(help));
        delete help;
        QVERIFY(window.isNull());
        QVERIFY(memo.isNull());
        QVERIFY(owner.findChildren<TF_Help*>().isEmpty());
    }
};

QTEST_MAIN(TF_HelpTest)
#include "TF_HelpTest.moc"
