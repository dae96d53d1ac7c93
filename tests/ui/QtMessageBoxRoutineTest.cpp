// The message boxes on screen: caption and icon per type, the buttons and
// their order, Enter and Esc, and the close box, answered by looking at the
// open box from inside its own modal loop.

#include "QtMessageBoxRoutine.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <functional>

using namespace tembrel;

namespace {

struct Seen {
    QString caption;
    QString text;
    int icon = -1;
    QStringList buttons; // left to right
    QString defaultButton;
    QString escapeButton;
    QWidget* parent = nullptr;
    bool centred = false;
};

enum class Action { Enter, Escape, CloseBox, ClickYes, ClickNo, ClickOk };

// The label's text cut into lines as a word-wrapping label lays it out in
// its width.
QStringList WrappedLines(const QLabel& label) {
    QTextLayout layout(label.text(), label.font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label.contentsRect().width());
        lines << label.text().mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

// Looks at the box once it is open, then closes it as told.
void OnceOpen(Seen& seen, Action action) {
    QTimer::singleShot(0, [&seen, action] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.parent = box->parentWidget();
        QList<QAbstractButton*> buttons = box->buttons();
        std::sort(buttons.begin(), buttons.end(),
                  [](QAbstractButton* a, QAbstractButton* b) { return a->x() < b->x(); });
        for (QAbstractButton* button : buttons) {
            seen.buttons << button->text();
        }
        if (box->defaultButton() != nullptr) {
            seen.defaultButton = box->defaultButton()->text();
        }
        if (box->escapeButton() != nullptr) {
            seen.escapeButton = box->escapeButton()->text();
        }
        if (auto* row = box->findChild<QDialogButtonBox*>(); row != nullptr && !buttons.isEmpty()) {
            const int left = buttons.first()->geometry().left();
            const int right = row->width() - 1 - buttons.last()->geometry().right();
            seen.centred = std::abs(left - right) <= 2;
        }
        const auto click = [&](const char* caption) {
            for (QAbstractButton* button : buttons) {
                if (button->text() == QLatin1String(caption)) {
                    button->click();
                }
            }
        };
        switch (action) {
        case Action::Enter:
            QTest::keyClick(box, Qt::Key_Return);
            break;
        case Action::Escape:
            QTest::keyClick(box, Qt::Key_Escape);
            break;
        case Action::CloseBox:
            box->close();
            break;
        case Action::ClickYes:
            click("&Yes");
            break;
        case Action::ClickNo:
            click("&No");
            break;
        case Action::ClickOk:
            click("OK");
            break;
        }
    });
}

} // namespace

class QtMessageBoxRoutineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void boxes_data();
    void boxes();
    void defaultErrorBox_data();
    void defaultErrorBox();
    void closeBoxOnlyAndLongWordsWrapped_data();
    void closeBoxOnlyAndLongWordsWrapped();
    void boxRefusesToBeMinimised();
    void nonWaitingBoxDoesNotWait();

private:
    QWidget owner_;
};

void QtMessageBoxRoutineTest::initTestCase() {
    owner_.resize(200, 100);
    owner_.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner_));
}

void QtMessageBoxRoutineTest::boxes_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<unsigned>("buttons");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("defaultButton");
    QTest::addColumn<QString>("escapeButton");
    QTest::addColumn<int>("result");

    const int error = static_cast<int>(BoxType::Error);
    const int information = static_cast<int>(BoxType::Information);
    const int confirmation = static_cast<int>(BoxType::Confirmation);
    const unsigned ok = ButtonOk;
    const unsigned yesNo = ButtonYes | ButtonNo;
    const unsigned all = ButtonYes | ButtonNo | ButtonOk;
    const QString okCaption = QStringLiteral("OK");
    const QString yes = QStringLiteral("&Yes");
    const QString no = QStringLiteral("&No");
    const QStringList okOnly{okCaption};
    const QStringList yesThenNo{yes, no};
    const QStringList allThree{yes, no, okCaption};
    const auto row = [&](const char* name, int type, unsigned buttons, Action action,
                         const char* caption, QMessageBox::Icon icon, const QStringList& captions,
                         const QString& defaultButton, const QString& escapeButton,
                         ModalResult result) {
        QTest::newRow(name) << type << buttons << static_cast<int>(action)
                            << QString::fromLatin1(caption) << static_cast<int>(icon) << captions
                            << defaultButton << escapeButton << static_cast<int>(result);
    };
    row("error, OK clicked", error, ok, Action::ClickOk, "Error", QMessageBox::Critical, okOnly,
        okCaption, okCaption, ModalResult::Ok);
    row("error, Enter", error, ok, Action::Enter, "Error", QMessageBox::Critical, okOnly, okCaption,
        okCaption, ModalResult::Ok);
    row("error, Esc", error, ok, Action::Escape, "Error", QMessageBox::Critical, okOnly, okCaption,
        okCaption, ModalResult::Ok);
    row("error, close box", error, ok, Action::CloseBox, "Error", QMessageBox::Critical, okOnly,
        okCaption, okCaption, ModalResult::Cancel);
    row("information", information, ok, Action::Enter, "Information", QMessageBox::Information,
        okOnly, okCaption, okCaption, ModalResult::Ok);
    row("confirm, Yes", confirmation, yesNo, Action::ClickYes, "Confirm", QMessageBox::Question,
        yesThenNo, yes, no, ModalResult::Yes);
    row("confirm, No", confirmation, yesNo, Action::ClickNo, "Confirm", QMessageBox::Question,
        yesThenNo, yes, no, ModalResult::No);
    row("confirm, Enter", confirmation, yesNo, Action::Enter, "Confirm", QMessageBox::Question,
        yesThenNo, yes, no, ModalResult::Yes);
    row("confirm, Esc", confirmation, yesNo, Action::Escape, "Confirm", QMessageBox::Question,
        yesThenNo, yes, no, ModalResult::No);
    row("confirm, close box", confirmation, yesNo, Action::CloseBox, "Confirm",
        QMessageBox::Question, yesThenNo, yes, no, ModalResult::Cancel);
    row("three buttons, Enter", confirmation, all, Action::Enter, "Confirm", QMessageBox::Question,
        allThree, okCaption, no, ModalResult::Ok);
    row("three buttons, Esc", confirmation, all, Action::Escape, "Confirm", QMessageBox::Question,
        allThree, okCaption, no, ModalResult::No);
}

void QtMessageBoxRoutineTest::boxes() {
    QFETCH(int, type);
    QFETCH(unsigned, buttons);
    QFETCH(int, action);
    QFETCH(QString, caption);
    QFETCH(int, icon);
    QFETCH(QStringList, captions);
    QFETCH(QString, defaultButton);
    QFETCH(QString, escapeButton);
    QFETCH(int, result);

    QtMessageBoxRoutine routine;
    Seen seen;
    OnceOpen(seen, static_cast<Action>(action));
    const QString text = QStringLiteral("The voyage has been ended.");
    const ModalResult answer = routine.Show(&owner_, text, static_cast<BoxType>(type), buttons);

    QCOMPARE(static_cast<int>(answer), result);
    QCOMPARE(seen.caption, caption);
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.icon, icon);
    QCOMPARE(seen.buttons, captions);
    QCOMPARE(seen.defaultButton, defaultButton);
    QCOMPARE(seen.escapeButton, escapeButton);
    QCOMPARE(seen.parent, &owner_);
    QVERIFY(seen.centred);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void QtMessageBoxRoutineTest::defaultErrorBox_data() {
    QTest::addColumn<int>("action");
    QTest::newRow("OK") << static_cast<int>(Action::ClickOk);
    QTest::newRow("Esc") << static_cast<int>(Action::Escape);
    QTest::newRow("close box") << static_cast<int>(Action::CloseBox);
}

void QtMessageBoxRoutineTest::defaultErrorBox() {
    QFETCH(int, action);
    QtMessageBoxRoutine routine;
    Seen seen;
    OnceOpen(seen, static_cast<Action>(action));
    routine.ShowDefaultError(&owner_, QStringLiteral("Tembrel"), QStringLiteral("Disk full."));
    QCOMPARE(seen.caption, QStringLiteral("Tembrel"));
    QCOMPARE(seen.text, QStringLiteral("Disk full."));
    QCOMPARE(seen.icon, static_cast<int>(QMessageBox::Critical));
    QCOMPARE(seen.buttons, QStringList{QStringLiteral("OK")});
    QCOMPARE(seen.defaultButton, QStringLiteral("OK"));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void QtMessageBoxRoutineTest::closeBoxOnlyAndLongWordsWrapped_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("longWord");
    QTest::addColumn<bool>("breaksAtSeparators");
    QTest::newRow("short words") << QStringLiteral("File access denied.") << false << false;
    // A cell of 301 characters that is no number, as the default error box
    // of a Multiple Areas start shows it.
    QTest::newRow("301-character word")
        << QStringLiteral("'%1' is not a valid floating point value.").arg(QString(301, u'7'))
        << true << false;
    // Paths wider than the box break between their folders, never inside a
    // name.
    QTest::newRow("POSIX path")
        << QStringLiteral("The Google Earth link has been written to "
                          "/home/somebody/voyages/paris-at-250-metres/evening/TembrelLink.kml.")
        << true << true;
    QTest::newRow("Windows path") << QStringLiteral(
                                         "Open it in Google Earth: it adds the network link to "
                                         "C:\\Users\\Somebody\\AppData\\Local\\Programs\\Tembrel\\"
                                         "TembrelData.KML, refreshed every 10 second(s).")
                                  << true << true;
    // A folder's name too long for a line still breaks, within the box.
    QTest::newRow("path with a 120-character folder")
        << QStringLiteral("Written to /tmp/%1/TembrelLink.kml.").arg(QString(120, u'x')) << true
        << false;
}

void QtMessageBoxRoutineTest::closeBoxOnlyAndLongWordsWrapped() {
    QFETCH(QString, text);
    QFETCH(bool, longWord);
    QFETCH(bool, breaksAtSeparators);
    QtMessageBoxRoutine routine;
    Qt::WindowFlags flags;
    int width = 0;
    int labelWidth = 0;
    int labelHeight = 0;
    int lineHeight = 0;
    QString shown;
    QStringList lines;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        flags = box->windowFlags();
        width = box->frameGeometry().width();
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        if (label != nullptr) {
            labelWidth = label->width();
            labelHeight = label->height();
            lineHeight = label->fontMetrics().height();
            shown = label->text();
            lines = WrappedLines(*label);
        }
        box->buttons().first()->click();
    });
    routine.ShowDefaultError(&owner_, QStringLiteral("Tembrel"), text);
    // A close box and nothing else: no minimise, no maximise.
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    // Within half the screen, the whole text shown, on as many lines as it
    // needs.
    QVERIFY2(width <= owner_.screen()->availableGeometry().width() / 2,
             qPrintable(QString::number(width)));
    QString visible = shown;
    visible.remove(QChar(0x200B)).remove(QChar(0x2060));
    QCOMPARE(visible, text);
    const int wholeWidth = QFontMetrics(owner_.font()).horizontalAdvance(text);
    if (longWord) {
        QVERIFY(labelHeight >= 2 * lineHeight);
        QVERIFY(labelWidth < wholeWidth);
    } else {
        QCOMPARE(shown, text);
    }
    // The lines as the label lays them out fill its height.
    QVERIFY2(std::abs(static_cast<int>(lines.size()) * lineHeight - labelHeight) <= lineHeight,
             qPrintable(lines.join(u'|')));
    if (breaksAtSeparators) {
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            QString line = lines.at(i);
            line.remove(QChar(0x200B)).remove(QChar(0x2060));
            const QChar last = line.isEmpty() ? QChar() : line.back();
            QVERIFY2(last.isSpace() || last == u'/' || last == u'\\',
                     qPrintable(QStringLiteral("line %1 of %2 ends mid-word: %3")
                                    .arg(i + 1)
                                    .arg(lines.size())
                                    .arg(lines.join(u'|'))));
        }
    }
}

void QtMessageBoxRoutineTest::boxRefusesToBeMinimised() {
    // A window manager that minimises a modal box takes the main window
    // along: the box comes straight back, and the main window with it.
    QtMessageBoxRoutine routine;
    bool minimisedThenBack = false;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box == nullptr) {
            return;
        }
        owner_.setWindowState(Qt::WindowMinimized);
        box->setWindowState(Qt::WindowMinimized);
        QTimer::singleShot(50, box, [&, box] {
            minimisedThenBack = !box->isMinimized() && !owner_.isMinimized();
            qobject_cast<QMessageBox*>(box)->buttons().first()->click();
        });
    });
    routine.ShowDefaultError(&owner_, QStringLiteral("Tembrel"), QStringLiteral("Disk full."));
    QVERIFY(minimisedThenBack);
}

void QtMessageBoxRoutineTest::nonWaitingBoxDoesNotWait() {
    QtMessageBoxRoutine routine;
    const QPointer<QWidget> box =
        routine.OpenDefaultError(&owner_, QStringLiteral("Tembrel"), QStringLiteral("Disk full."));
    QVERIFY(box != nullptr);
    QVERIFY(box->isVisible());
    QVERIFY(!box->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    box->close();
    QTRY_VERIFY(box.isNull());
}

QTEST_MAIN(QtMessageBoxRoutineTest)
#include "QtMessageBoxRoutineTest.moc"
