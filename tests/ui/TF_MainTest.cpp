// The main window with the real voyage engine behind it: its state after
// creation, the input check, input locking, voyages on the three pages driven
// tick by tick (and one in real time), Pause, Stop and the exit question, the
// default error box, the settings seam and the menu.

#include "MainWindowFixture.h"

#include "DefaultErrorBox.h"
#include "GaugeWidget.h"
#include "Messages.h"
#include "QtMessageBoxRoutine.h"
#include "TF_About.h"
#include "TF_Help.h"
#include "TF_Main.h"
#include "VoyageErrors.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSessionManager>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using namespace tembrel;
using namespace tembrel::test;

Q_DECLARE_METATYPE(tembrel::LockKind)

namespace {

const QString DataMissing = QLatin1String(messages::DataMissing);
const QString DataNotCorrect = QLatin1String(messages::DataNotCorrect);
const QString ConfirmStop = QLatin1String(messages::ConfirmStop);
const QString VoyageEnded = QLatin1String(messages::VoyageEnded);
const QString ConfirmExit = QLatin1String(messages::ConfirmExit);

// The help example: a 1 km x 0.4 km area at 48.86, 2.2877 in snapshots of
// 0.3 km x 0.2 km, at 250 m; 2 rows of 3 centres.
const QStringList HelpExample = {QStringLiteral("48.86"), QStringLiteral("2.2877"),
                                 QStringLiteral("1"),     QStringLiteral("0.4"),
                                 QStringLiteral("0.3"),   QStringLiteral("0.2"),
                                 QStringLiteral("250"),   QStringLiteral("600")};
const QString Row0Lat = QStringLiteral("48.8591117858887");
const QString Row1Lat = QStringLiteral("48.8573341369629");
const QString Column0Lon = QStringLiteral("2.28924155235291");
const QString Column1Lon = QStringLiteral("2.29232478141785");
const QString Column2Lon = QStringLiteral("2.29540801048279");

struct View {
    QString longitude;
    QString latitude;
    QString range;
    int lines = 0;
    bool operator==(const View&) const = default;
};

char* toString(const View& view) {
    return QTest::toString(QStringLiteral("longitude %1, latitude %2, range %3, %4 lines")
                               .arg(view.longitude, view.latitude, view.range)
                               .arg(view.lines));
}

QString Element(const QString& text, const char* name) {
    const QRegularExpression pattern(QStringLiteral("<%1>([^<]*)</%1>").arg(QLatin1String(name)));
    return pattern.match(text).captured(1);
}

} // namespace

class TF_MainTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void formCreateState();
    void editsRestoredAtCreation();
    void layoutMatchesTheTable_data();
    void layoutMatchesTheTable();
    void noControlIsClipped();
    void windowIsFixedWithoutMaximise();
    void gridAndMemoProperties();
    void voyageButtons();
    void menuCaptions();
    void altOrF10ReachesTheMenuBar_data();
    void altOrF10ReachesTheMenuBar();

    void areaInputCheck_data();
    void areaInputCheck();
    void pointsInputCheck_data();
    void pointsInputCheck();
    void multipleAreasInputCheckNeverRefuses();
    void memoLinesAreVisualLines();

    void setFieldState_data();
    void setFieldState();

    void areaVoyageTickByTick();
    void areaVoyageInRealTimeWithTicksInsideABox();
    void pointsVoyageThroughTheMemo();
    void multipleAreasVoyageThroughTheGrid();
    void pauseAndResume();
    void stopQuestion_data();
    void stopQuestion();
    void idleVoyageWakesOnlyForItsTicks();

    void exitQuestion_data();
    void exitQuestion();
    void closeWithoutVoyageOrPausedAsksNothing();
    void exitMenuClosesThroughTheSamePath();
    void sessionEndSavesWithoutAsking();

    void defaultErrorBoxFromAFailedMultipleAreasStart();
    void defaultErrorBoxRules_data();
    void defaultErrorBoxRules();
    void tickErrorKeepsTheTimerAndThePosition();
    void ticksGoOnBehindTheRealTickErrorBox();

    void decimalSeparatorAtStartAndOnLocaleChange();

    void cacheFolderCommand_data();
    void cacheFolderCommand();
    void helpAndAboutAreModalAndDestroyed_data();
    void helpAndAboutAreModalAndDestroyed();

private:
    QTimer* Timer() const { return Find<QTimer>("T_Timer"); }
    GaugeWidget* Gauge() const { return Find<GaugeWidget>("GA_Progress"); }
    QString ViewPath() const { return viewDirectory_->filePath(QStringLiteral("TembrelData.KML")); }
    View ReadView() const {
        QFile file(ViewPath());
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        const QString text = QString::fromUtf8(file.readAll());
        return {Element(text, "longitude"), Element(text, "latitude"), Element(text, "range"),
                static_cast<int>(text.count(QStringLiteral("\r\n")))};
    }
    static View At(const QString& longitude, const QString& latitude) {
        return {longitude, latitude, QStringLiteral("250"), 13};
    }
};

// A tick, delivered only when the timer would deliver one.
#define TICK()                                                                                     \
    do {                                                                                           \
        QVERIFY2(Timer()->isActive(), "a tick while the timer is off");                            \
        window_->T_TimerTimer();                                                                   \
    } while (false)

void TF_MainTest::init() {
    Reset();
}

void TF_MainTest::cleanup() {
    if (window_) {
        VerifyScriptsUsedUp();
    }
    window_.reset();
}

// ---------------------------------------------------------------- creation

void TF_MainTest::formCreateState() {
    CreateWindow();
    QCOMPARE(window_->windowTitle(), QStringLiteral("Tembrel 5.0"));
    QCOMPARE(Find<QTabWidget>("PC_Main")->currentWidget(), Find("TS_Area"));
    QCOMPARE(window_->VoyagePorts().ActivePage(), Page::TS_Area);
    QCOMPARE(Gauge()->Maximum(), 1000000000);
    QCOMPARE(Gauge()->Progress(), std::int64_t{0});
    QCOMPARE(Gauge()->Text(), QStringLiteral("0%"));
    QVERIFY(!Timer()->isActive());
    QVERIFY(!window_->Timer().Enabled());
    QCOMPARE(window_->Timer().Interval(), 1000);
    QVERIFY(Find("LB_MAreas")->isHidden());
    QCOMPARE(Find<QLabel>("LB_MAreas")->text(), QStringLiteral("Now scanning area no. "));
    QVERIFY(Button("B_Start")->isVisible());
    QCOMPARE(Button("B_Start")->text(), QStringLiteral("Start Voyage"));

    auto* grid = Find<QTableWidget>("SG_Areas");
    const QStringList expected = {QStringLiteral("30.124555"), QStringLiteral("31.254447"),
                                  QStringLiteral("2.5"),       QStringLiteral("0.54"),
                                  QStringLiteral("31.55125"),  QStringLiteral("29.79862"),
                                  QStringLiteral("1.2"),       QStringLiteral("9.4")};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(QString::fromStdString(window_->VoyagePorts().GridCell(i % 4, i / 4)),
                 expected[i]);
    }
    for (int row = 2; row < 50; ++row) {
        for (int column = 0; column < 4; ++column) {
            QVERIFY(window_->VoyagePorts().GridCell(column, row).empty());
        }
    }
    QCOMPARE(grid->rowCount(), 50);
    QCOMPARE(grid->columnCount(), 4);

    ShowPage("TS_Points");
    QCOMPARE(window_->VoyagePorts().MemoLineCount(), 2);
    QCOMPARE(window_->VoyagePorts().MemoLine(0), std::string("30.102, 31.215"));
    QCOMPARE(window_->VoyagePorts().MemoLine(1), std::string("-25.365, 16.2145"));

    for (int i = 0; i < 8; ++i) {
        QVERIFY(EditAt(i)->text().isEmpty());
        QVERIFY(!EditAt(i)->isReadOnly());
    }
    QVERIFY(boxes_->boxes.empty());
    QVERIFY(!QFile::exists(ViewPath()));
}

void TF_MainTest::editsRestoredAtCreation() {
    const char* texts[] = {" 48.86", "2,2877", "abc", "", "0.3", "Ünïcode", "250", "10"};
    for (int i = 0; i < 8; ++i) {
        settings_->values[EditNames[i]] = texts[i];
    }
    CreateWindow();
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(EditAt(i)->text(), QString::fromUtf8(texts[i]));
    }
    QCOMPARE(settings_->saves, 0);
    QVERIFY(boxes_->boxes.empty());
}

void TF_MainTest::layoutMatchesTheTable_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption"); // empty: none to check
    QTest::addColumn<QColor>("text");     // invalid: the palette's own
    QTest::addColumn<QSize>("cell");      // the grid's columns and rows
    // Panels and controls at their places; pages fill whatever the tab
    // widget gives them, so only their panels' contents are placed.
    const auto row = [](const char* name, const char* parent, QRect geometry,
                        const char* caption = "", QColor text = {}, QSize cell = {}) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent) << geometry
                            << QString::fromLatin1(caption) << text << cell;
    };
    const QColor navy(0, 0, 128);
    row("Panel1", "client", {0, 0, 470, 329});
    row("Panel2", "Panel1", {2, 2, 466, 180});
    row("PC_Main", "Panel2", {2, 2, 462, 176});
    row("E_LatD", "P_Area", {9, 31, 159, 21});
    row("E_LonD", "P_Area", {173, 31, 159, 21});
    row("E_VE", "P_Area", {10, 80, 74, 21});
    row("E_VS", "P_Area", {173, 80, 74, 21});
    row("SG_Areas", "P_MAreas", {10, 38, 435, 104}, "", QColor(128, 0, 0), QSize(100, 19));
    row("M_Points", "P_Points", {9, 39, 435, 102}, "", QColor(0, 128, 0));
    row("GB_Area", "Panel1", {9, 189, 452, 130});
    row("E_VEast", "GB_Area", {9, 40, 118, 21}, "", navy);
    row("E_VSouth", "GB_Area", {237, 40, 118, 21}, "", navy);
    row("E_VA", "GB_Area", {9, 96, 118, 21}, "", navy);
    row("E_VR", "GB_Area", {237, 96, 118, 21}, "", navy);
    row("Panel3", "client", {0, 329, 470, 136});
    row("B_Start", "Panel3", {31, 17, 130, 52}, "Start Voyage");
    row("B_Pause", "Panel3", {169, 17, 130, 52}, "Pause");
    row("B_Stop", "Panel3", {308, 18, 130, 52}, "Stop");
    row("GA_Progress", "Panel3", {16, 102, 437, 20});
}

void TF_MainTest::layoutMatchesTheTable() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(QColor, text);
    QFETCH(QSize, cell);
    CreateWindow();
    const QWidget* widget = window_->findChild<QWidget*>(name);
    QVERIFY(widget != nullptr);
    QCOMPARE(widget->parentWidget()->objectName(), parent);
    QCOMPARE(widget->geometry(), geometry);
    if (!caption.isEmpty()) {
        QCOMPARE(qobject_cast<const QToolButton*>(widget)->text(), caption);
    }
    if (text.isValid()) {
        QCOMPARE(widget->palette().color(QPalette::Text), text);
    }
    if (cell.isValid()) {
        const auto* grid = qobject_cast<const QTableWidget*>(widget);
        for (int column = 0; column < grid->columnCount(); ++column) {
            QCOMPARE(grid->columnWidth(column), cell.width());
        }
        for (int row = 0; row < grid->rowCount(); ++row) {
            QCOMPARE(grid->rowHeight(row), cell.height());
        }
    }
}

void TF_MainTest::noControlIsClipped() {
    CreateWindow();
    // Pages get their size when first shown.
    ShowPage("TS_MAreas");
    ShowPage("TS_Points");
    ShowPage("TS_Area");
    const struct {
        const char* name;
        QPoint position;
    } labels[] = {{"Label1", {10, 16}},    {"Label5", {173, 16}},   {"Label18", {10, 64}},
                  {"Label9", {89, 84}},    {"Label19", {173, 65}},  {"Label10", {252, 84}},
                  {"Label3", {10, 8}},     {"Label2", {10, 8}},     {"Label15", {10, 25}},
                  {"Label16", {131, 44}},  {"Label20", {237, 25}},  {"Label17", {360, 44}},
                  {"Label11", {10, 80}},   {"Label12", {131, 100}}, {"Label13", {237, 80}},
                  {"Label14", {360, 100}}, {"LB_MAreas", {177, 84}}};
    for (const auto& expected : labels) {
        const auto* label = Find<QLabel>(expected.name);
        QVERIFY(label != nullptr);
        QCOMPARE(label->pos(), expected.position);
        // The whole text fits, and the label stays inside its parent.
        if (label->wordWrap()) {
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(), expected.name);
            QCOMPARE(label->text().count(QLatin1Char('\n')), 1);
        } else {
            QVERIFY2(label->width() >= label->sizeHint().width(), expected.name);
            QVERIFY2(label->height() >= label->sizeHint().height(), expected.name);
        }
        QVERIFY2(label->parentWidget()->rect().contains(label->geometry()), expected.name);
    }
    // Labels on one line do not run into their right-hand neighbours.
    const std::pair<const char*, const char*> neighbours[] = {
        {"Label1", "Label5"},    {"Label9", "E_VS"},     {"Label15", "Label20"},
        {"Label16", "E_VSouth"}, {"Label11", "Label13"}, {"Label12", "E_VR"},
        {"Label3", "SG_Areas"},  {"Label2", "M_Points"}};
    for (const auto& [left, right] : neighbours) {
        const QRect a = Find(left)->geometry();
        const QRect b = Find(right)->geometry();
        QVERIFY2(!a.intersects(b), left);
    }
    // Every page's contents fit inside the page the tab widget gives.
    for (const char* name : {"SG_Areas", "M_Points", "E_VE", "E_VS", "E_LonD"}) {
        const QWidget* widget = Find(name);
        QVERIFY2(widget->parentWidget()->rect().contains(widget->geometry()), name);
    }
    // The buttons' captions fit beside their pictures, also the longest one.
    Button("B_Start")->setText(QStringLiteral("Resume Voyage"));
    for (const char* name : {"B_Start", "B_Pause", "B_Stop"}) {
        QVERIFY2(Button(name)->sizeHint().width() <= Button(name)->width(), name);
        QVERIFY2(Button(name)->sizeHint().height() <= Button(name)->height(), name);
    }
}

void TF_MainTest::windowIsFixedWithoutMaximise() {
    CreateWindow();
    const QWidget* client = Find("client");
    QCOMPARE(client->size(), QSize(470, 465));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    QCOMPARE(window_->height(), 465 + window_->menuBar()->height());
    // The menu bar, Tools menu and all, keeps to one row.
    const QList<QAction*> menus = window_->menuBar()->actions();
    QCOMPARE(window_->menuBar()->actionGeometry(menus.last()).top(),
             window_->menuBar()->actionGeometry(menus.first()).top());
    QVERIFY(!(window_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window_->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(window_->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!window_->windowIcon().isNull());
    QVERIFY(window_->windowIcon().availableSizes().contains(QSize(256, 256)));
    QCOMPARE(window_->palette().color(QPalette::Window),
             window_->palette().color(QPalette::Button));
    QCOMPARE(window_->font().pixelSize(), 11);
    // Nothing answers Enter or Esc: no default button anywhere.
    QTest::keyClick(window_.get(), Qt::Key_Return);
    QTest::keyClick(window_.get(), Qt::Key_Escape);
    QVERIFY(boxes_->boxes.empty());
    QVERIFY(window_->isVisible());
}

void TF_MainTest::gridAndMemoProperties() {
    CreateWindow();
    auto* grid = Find<QTableWidget>("SG_Areas");
    QVERIFY(grid->horizontalHeader()->isHidden());
    QVERIFY(grid->verticalHeader()->isHidden());
    QVERIFY(grid->showGrid());
    QVERIFY(grid->tabKeyNavigation());
    QCOMPARE(grid->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // Typing into a cell edits it in place; Tab moves to the next cell.
    ShowPage("TS_MAreas");
    grid->setFocus();
    grid->setCurrentCell(2, 0);
    QTest::keyClick(grid, Qt::Key_1); // typing opens the cell's editor
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor != nullptr && editor != grid);
    QTest::keyClicks(editor, QStringLiteral("2.5"));
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(window_->VoyagePorts().GridCell(0, 2), std::string("12.5"));
    QCOMPARE(grid->currentColumn(), 1);
    QCOMPARE(grid->currentRow(), 2);

    auto* memo = Find<QPlainTextEdit>("M_Points");
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void TF_MainTest::voyageButtons() {
    CreateWindow();
    for (const char* name : {"B_Start", "B_Pause", "B_Stop"}) {
        const QToolButton* button = Button(name);
        QVERIFY(button->autoRaise());
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
        QCOMPARE(button->iconSize(), QSize(32, 32));
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QVERIFY(!button->icon().isNull());
        const QImage picture = button->icon().pixmap(32, 32).toImage();
        QCOMPARE(picture.size(), QSize(32, 32));
        QCOMPARE(picture.depth(), 32);
        QVERIFY(picture.hasAlphaChannel());
    }
}

void TF_MainTest::menuCaptions() {
    CreateWindow();
    const QList<QAction*> top = window_->menuBar()->actions();
    // The Tools menu stands between GE Cache and Help; the others keep their order.
    QCOMPARE(top.size(), 4);
    QCOMPARE(top[0]->text(), QStringLiteral("File"));
    QCOMPARE(top[1]->text(), QStringLiteral("GE Cache"));
    QCOMPARE(top[2]->text(), QStringLiteral("Tools"));
    QCOMPARE(top[3]->text(), QStringLiteral("Help"));
    QCOMPARE(top[0]->menu()->objectName(), QStringLiteral("File1"));
    QCOMPARE(top[1]->menu()->objectName(), QStringLiteral("GECahce1"));
    QCOMPARE(top[3]->menu()->objectName(), QStringLiteral("About1"));

    const auto items = [&](int index) { return top[index]->menu()->actions(); };
    QCOMPARE(items(0).size(), 1);
    QCOMPARE(items(0)[0]->text(), QStringLiteral(" Exit"));
    QCOMPARE(items(0)[0]->objectName(), QStringLiteral("Exit1"));
    QCOMPARE(items(1).size(), 1);
    QCOMPARE(items(1)[0]->text(), QStringLiteral("Open Cache folder"));
    QCOMPARE(items(1)[0]->objectName(), QStringLiteral("OpentheCachefolder1"));
    QCOMPARE(items(3).size(), 3);
    QCOMPARE(items(3)[0]->text(), QStringLiteral(" Help Contents"));
    QCOMPARE(items(3)[0]->objectName(), QStringLiteral("Quickstart1"));
    QVERIFY(items(3)[1]->isSeparator());
    QCOMPARE(items(3)[1]->objectName(), QStringLiteral("N1"));
    QCOMPARE(items(3)[2]->text(), QStringLiteral(" About Tembrel..."));
    QCOMPARE(items(3)[2]->objectName(), QStringLiteral("AboutTembrel1"));
    for (int i : {0, 1, 3}) {
        for (const QAction* action : items(i)) {
            QVERIFY(action->shortcut().isEmpty());
        }
    }
}

// ---------------------------------------------------------------- input check

void TF_MainTest::areaInputCheck_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("complete");
    const QStringList empty(8, QString());
    QTest::newRow("all eight empty") << empty << false;
    for (int i = 0; i < 8; ++i) {
        QStringList one = empty;
        one[i] = QStringLiteral("5");
        QTest::newRow(EditNames[i]) << one << true;
    }
    QStringList blank = empty;
    blank[0] = QStringLiteral(" ");
    QTest::newRow("one blank") << blank << true;
}

void TF_MainTest::areaInputCheck() {
    QFETCH(QStringList, texts);
    QFETCH(bool, complete);
    CreateWindow();
    SetEdits(texts);
    Button("B_Start")->click();

    // Incomplete: the message and nothing else. Complete but not convertible:
    // the check passed, and the Area start fails at its first conversion.
    QCOMPARE(boxes_->Texts(), QStringList{complete ? DataNotCorrect : DataMissing});
    QCOMPARE(boxes_->boxes[0].type, BoxType::Error);
    QCOMPARE(boxes_->boxes[0].buttons, unsigned{ButtonOk});
    QCOMPARE(boxes_->boxes[0].owner, window_.get());
    if (!complete) {
        for (int i = 0; i < 8; ++i) {
            QVERIFY(!EditAt(i)->isReadOnly());
        }
        QVERIFY(Find("M_Points")->isEnabled());
        QVERIFY(Find("P_MAreas")->isEnabled());
        QVERIFY(Button("B_Start")->isVisible());
    }
    QVERIFY(!Timer()->isActive());
    QVERIFY(!QFile::exists(ViewPath()));
}

void TF_MainTest::pointsInputCheck_data() {
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QStringList>("expectedBoxes");
    QTest::newRow("empty memo") << QString() << QStringList{DataMissing};
    // One counted (empty) line: the check passes, the search finds no point.
    QTest::newRow("one line break") << QStringLiteral("\n") << QStringList{VoyageEnded};
    QTest::newRow("blank line") << QStringLiteral(" ") << QStringList{VoyageEnded};
    QTest::newRow("a point") << QStringLiteral("30.102, 31.215") << QStringList{};
}

void TF_MainTest::pointsInputCheck() {
    QFETCH(QString, memo);
    QFETCH(QStringList, expectedBoxes);
    CreateWindow();
    ShowPage("TS_Points");
    Find<QPlainTextEdit>("M_Points")->setPlainText(memo);
    // The snapshot edits are not looked at on this page.
    SetEdits({QString(), QString(), QString(), QString(), QString(), QString(),
              QStringLiteral("250"), QStringLiteral("600")});
    Button("B_Start")->click();
    QCOMPARE(boxes_->Texts(), expectedBoxes);
    QCOMPARE(Timer()->isActive(), expectedBoxes.isEmpty());
}

void TF_MainTest::multipleAreasInputCheckNeverRefuses() {
    CreateWindow();
    ShowPage("TS_MAreas");
    auto* grid = Find<QTableWidget>("SG_Areas");
    grid->clearContents();
    Button("B_Start")->click();
    // No area: nothing planned or written, the timer on at its 1 s; the
    // first tick ends the voyage.
    QVERIFY(boxes_->boxes.empty());
    QVERIFY(Timer()->isActive());
    QCOMPARE(Timer()->interval(), 1000);
    QVERIFY(Find("LB_MAreas")->isVisible());
    QVERIFY(!QFile::exists(ViewPath()));
    TICK();
    QCOMPARE(boxes_->Texts(), QStringList{VoyageEnded});
    QVERIFY(Find("LB_MAreas")->isHidden());
    QVERIFY(!Timer()->isActive());
}

void TF_MainTest::memoLinesAreVisualLines() {
    CreateWindow();
    ShowPage("TS_Points");
    auto* memo = Find<QPlainTextEdit>("M_Points");
    const struct {
        const char* text;
        int count;
    } cases[] = {{"", 0},     {"\n", 1},     {"a", 1},      {"a\n", 1},
                 {"a\nb", 2}, {"a\n\nb", 3}, {"a\nb\n", 2}, {"\n\n", 2}};
    for (const auto& c : cases) {
        memo->setPlainText(QString::fromLatin1(c.text));
        QVERIFY2(window_->VoyagePorts().MemoLineCount() == c.count, c.text);
    }
    memo->setPlainText(QStringLiteral("a\n\nb"));
    QCOMPARE(window_->VoyagePorts().MemoLine(0), std::string("a"));
    QCOMPARE(window_->VoyagePorts().MemoLine(1), std::string());
    QCOMPARE(window_->VoyagePorts().MemoLine(2), std::string("b"));

    // A line far wider than the memo wraps: it counts, and reads, as several
    // lines that together make the line typed.
    QString longLine;
    for (int i = 0; i < 40; ++i) {
        longLine += QStringLiteral("point%1 ").arg(i);
    }
    longLine = longLine.trimmed();
    memo->setPlainText(QStringLiteral("12.5, 3.25\n") + longLine);
    const int count = window_->VoyagePorts().MemoLineCount();
    QVERIFY2(count >= 4, qPrintable(QString::number(count)));
    QCOMPARE(window_->VoyagePorts().MemoLine(0), std::string("12.5, 3.25"));
    QString joined;
    for (int i = 1; i < count; ++i) {
        const QString line = QString::fromStdString(window_->VoyagePorts().MemoLine(i));
        QVERIFY(!line.isEmpty());
        QVERIFY(memo->fontMetrics().horizontalAdvance(line.trimmed()) <= memo->viewport()->width());
        joined += line;
    }
    QCOMPARE(joined, longLine);
    // A word longer than the memo is broken where the width ends.
    memo->setPlainText(QString(300, QLatin1Char('7')));
    QVERIFY(window_->VoyagePorts().MemoLineCount() > 1);

    // Typing changes what is read.
    memo->setPlainText(QStringLiteral("1, 2"));
    QCOMPARE(window_->VoyagePorts().MemoLineCount(), 1);
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    QCOMPARE(window_->VoyagePorts().MemoLineCount(), 1);
    QTest::keyClicks(memo, QStringLiteral("3, 4"));
    QCOMPARE(window_->VoyagePorts().MemoLineCount(), 2);
    QCOMPARE(window_->VoyagePorts().MemoLine(1), std::string("3, 4"));
}

// ---------------------------------------------------------------- field state

void TF_MainTest::setFieldState_data() {
    QTest::addColumn<LockKind>("kind");
    QTest::addColumn<int>("control");
    QTest::addColumn<bool>("enable");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("colour"); // "white" or "infobk"

    const int edit = static_cast<int>(Control::E_LatD);
    const int memo = static_cast<int>(Control::M_Points);
    const int refresh = static_cast<int>(Control::E_VR);
    const QString white = QStringLiteral("white");
    const QString infobk = QStringLiteral("infobk");
    const LockKind readOnly = LockKind::ReadOnly;
    const LockKind enabled = LockKind::Enabled;
    QTest::newRow("edit locked") << readOnly << edit << false << true << true << infobk;
    QTest::newRow("edit unlocked") << readOnly << edit << true << false << true << white;
    QTest::newRow("memo disabled") << enabled << memo << false << false << false << infobk;
    QTest::newRow("memo enabled") << enabled << memo << true << false << true << white;
    QTest::newRow("disabled edit") << enabled << refresh << false << false << false << infobk;
}

void TF_MainTest::setFieldState() {
    QFETCH(LockKind, kind);
    QFETCH(int, control);
    QFETCH(bool, enable);
    QFETCH(bool, readOnly);
    QFETCH(bool, enabled);
    QFETCH(QString, colour);
    CreateWindow();
    const auto which = static_cast<Control>(control);
    QWidget* widget =
        which == Control::M_Points ? Find("M_Points") : static_cast<QWidget*>(EditAt(control));

    window_->VoyagePorts().SetFieldState(kind, which, enable);

    const QColor infobk = window_->palette().color(QPalette::ToolTipBase);
    QVERIFY(infobk != QColor(Qt::white));
    const QColor expected = colour == QLatin1String("white") ? QColor(Qt::white) : infobk;
    QCOMPARE(widget->palette().color(QPalette::Base), expected);
    QCOMPARE(widget->palette().color(QPalette::Disabled, QPalette::Base), expected);
    QCOMPARE(widget->isEnabled(), enabled);
    if (auto* lineEdit = qobject_cast<QLineEdit*>(widget)) {
        QCOMPARE(lineEdit->isReadOnly(), readOnly);
    } else {
        QCOMPARE(qobject_cast<QPlainTextEdit*>(widget)->isReadOnly(), readOnly);
    }
}

// ---------------------------------------------------------------- voyages

void TF_MainTest::areaVoyageTickByTick() {
    CreateWindow();
    SetEdits(HelpExample);
    Button("B_Start")->click();

    // Started: the first centre written at once, the inputs locked, the
    // focus on E_VR, the timer on at the refresh period.
    QVERIFY(boxes_->boxes.empty());
    QCOMPARE(ReadView(), At(Column0Lon, Row0Lat));
    QVERIFY(Button("B_Start")->isHidden());
    QVERIFY(Timer()->isActive());
    QCOMPARE(Timer()->interval(), 600000);
    const QColor infobk = window_->palette().color(QPalette::ToolTipBase);
    for (int i = 0; i < 7; ++i) {
        QVERIFY2(EditAt(i)->isReadOnly(), EditNames[i]);
        QCOMPARE(EditAt(i)->palette().color(QPalette::Base), infobk);
    }
    QVERIFY(!EditAt(7)->isReadOnly());
    QVERIFY(!Find("M_Points")->isEnabled());
    QCOMPARE(Find("M_Points")->palette().color(QPalette::Base), infobk);
    QVERIFY(!Find("P_MAreas")->isEnabled());
    QVERIFY(!Find("SG_Areas")->isEnabled());
    QVERIFY(EditAt(7)->hasFocus());

    // Each tick writes the next centre, row by row, and adds a step.
    const View views[] = {At(Column0Lon, Row0Lat), At(Column1Lon, Row0Lat),
                          At(Column2Lon, Row0Lat), At(Column0Lon, Row1Lat),
                          At(Column1Lon, Row1Lat), At(Column2Lon, Row1Lat)};
    const char* gauges[] = {"16%", "33%", "50%", "66%", "83%", "100%"};
    for (int i = 0; i < 6; ++i) {
        TICK();
        QCOMPARE(ReadView(), views[i]);
        QCOMPARE(Gauge()->Text(), QLatin1String(gauges[i]));
        QVERIFY(Button("B_Start")->isHidden());
        QVERIFY(boxes_->boxes.empty());
    }

    // The next tick ends the voyage without writing; the gauge shows 100%
    // while the message is open and drops to 0 after it.
    QFile::remove(ViewPath());
    QString gaugeWhileOpen;
    bool timerWhileOpen = true;
    boxes_->whileOkBoxOpen = [&](const ScriptedMessageBoxRoutine::Box&) {
        gaugeWhileOpen = Gauge()->Text();
        timerWhileOpen = Timer()->isActive();
    };
    TICK();
    QCOMPARE(boxes_->Texts(), QStringList{VoyageEnded});
    QCOMPARE(boxes_->boxes[0].type, BoxType::Information);
    QCOMPARE(boxes_->boxes[0].buttons, unsigned{ButtonOk});
    QCOMPARE(gaugeWhileOpen, QStringLiteral("100%"));
    QVERIFY(!timerWhileOpen);
    QVERIFY(!QFile::exists(ViewPath()));
    QCOMPARE(Gauge()->Text(), QStringLiteral("0%"));
    QVERIFY(!Timer()->isActive());
    QVERIFY(Button("B_Start")->isVisible());
    QCOMPARE(Button("B_Start")->text(), QStringLiteral("Start Voyage"));
    for (int i = 0; i < 7; ++i) {
        QVERIFY(!EditAt(i)->isReadOnly());
        QCOMPARE(EditAt(i)->palette().color(QPalette::Base), QColor(Qt::white));
    }
    QVERIFY(Find("M_Points")->isEnabled());
    QCOMPARE(Find("M_Points")->palette().color(QPalette::Base), QColor(Qt::white));
    QVERIFY(Find("P_MAreas")->isEnabled());
}

void TF_MainTest::areaVoyageInRealTimeWithTicksInsideABox() {
    CreateWindow();
    // One centre (an area smaller than two snapshots each way), 1 s period:
    // written at the start and at 1 s, the end at 2 s.
    SetEdits({QStringLiteral("48.86"), QStringLiteral("2.2877"), QStringLiteral("0.5"),
              QStringLiteral("0.3"), QStringLiteral("0.3"), QStringLiteral("0.2"),
              QStringLiteral("250"), QStringLiteral("1")});
    Button("B_Start")->click();
    QCOMPARE(Timer()->interval(), 1000);
    QCOMPARE(Gauge()->Text(), QStringLiteral("0%"));

    // The Stop question stays open while the ticks go on behind it: the
    // gauge fills and the voyage ends before it is answered.
    bool endedWhileOpen = false;
    boxes_->answers.push_back({ModalResult::No, [&] {
                                   QTRY_VERIFY_WITH_TIMEOUT(boxes_->Texts().contains(VoyageEnded),
                                                            10000);
                                   endedWhileOpen = true;
                               }});
    QString gaugeAtEnd;
    boxes_->whileOkBoxOpen = [&](const ScriptedMessageBoxRoutine::Box&) {
        gaugeAtEnd = Gauge()->Text();
    };
    Button("B_Stop")->click();
    QVERIFY(endedWhileOpen);
    QCOMPARE(boxes_->Texts(), (QStringList{ConfirmStop, VoyageEnded}));
    QCOMPARE(gaugeAtEnd, QStringLiteral("100%"));
    QCOMPARE(ReadView(), At(Column0Lon, QStringLiteral("48.8591117858887")));
    QVERIFY(!Timer()->isActive());
    QVERIFY(Button("B_Start")->isVisible());
}

void TF_MainTest::pointsVoyageThroughTheMemo() {
    CreateWindow();
    ShowPage("TS_Points");
    SetEdits({QString(), QString(), QString(), QString(), QString(), QString(),
              QStringLiteral("250"), QStringLiteral("600")});
    // The example memo: the first point is loaded, nothing written.
    Button("B_Start")->click();
    QVERIFY(boxes_->boxes.empty());
    QVERIFY(!QFile::exists(ViewPath()));
    QCOMPARE(Gauge()->Text(), QStringLiteral("50%"));

    TICK();
    QCOMPARE(ReadView(), View({QStringLiteral("30.1019992828369"),
                               QStringLiteral("31.2150001525879"), QStringLiteral("250"), 13}));
    QCOMPARE(Gauge()->Text(), QStringLiteral("100%"));
    QVERIFY(boxes_->boxes.empty());
    QVERIFY(Timer()->isActive());

    TICK();
    QCOMPARE(ReadView(), View({QStringLiteral("-25.3649997711182"),
                               QStringLiteral("16.2145004272461"), QStringLiteral("250"), 13}));
    QCOMPARE(boxes_->Texts(), QStringList{VoyageEnded});
    QVERIFY(!Timer()->isActive());
    QVERIFY(Find("M_Points")->isEnabled());
}

void TF_MainTest::multipleAreasVoyageThroughTheGrid() {
    CreateWindow();
    ShowPage("TS_MAreas");
    auto* grid = Find<QTableWidget>("SG_Areas");
    grid->clearContents();
    const QStringList row0 = {QStringLiteral("48.86"), QStringLiteral("2.2877"),
                              QStringLiteral("1"), QStringLiteral("0.4")};
    for (int column = 0; column < 4; ++column) {
        grid->setItem(0, column, new QTableWidgetItem(row0[column]));
    }
    SetEdits({QString(), QString(), QString(), QString(), QStringLiteral("0.3"),
              QStringLiteral("0.2"), QStringLiteral("250"), QStringLiteral("600")});
    Button("B_Start")->click();
    QVERIFY(boxes_->boxes.empty());
    QCOMPARE(ReadView(), At(Column0Lon, Row0Lat));
    QVERIFY(Find("LB_MAreas")->isVisible());
    QCOMPARE(Find<QLabel>("LB_MAreas")->text(), QStringLiteral("Now scanning area no. 1"));
    QVERIFY(!grid->isEnabled());

    for (int i = 0; i < 6; ++i) {
        TICK();
    }
    QCOMPARE(ReadView(), At(Column2Lon, Row1Lat));
    QCOMPARE(Gauge()->Text(), QStringLiteral("100%"));
    TICK(); // area 1 done: row 1 is empty, the list ends
    QVERIFY(boxes_->boxes.empty());
    QCOMPARE(Gauge()->Text(), QStringLiteral("0%"));
    TICK();
    QCOMPARE(boxes_->Texts(), QStringList{VoyageEnded});
    QVERIFY(Find("LB_MAreas")->isHidden());
    QVERIFY(grid->isEnabled());
}

void TF_MainTest::pauseAndResume() {
    CreateWindow();
    // Pause with no voyage does nothing.
    Button("B_Pause")->click();
    QCOMPARE(Button("B_Start")->text(), QStringLiteral("Start Voyage"));
    QVERIFY(Button("B_Start")->isVisible());

    SetEdits(HelpExample);
    Button("B_Start")->click();
    TICK();
    Button("B_Pause")->click();
    QVERIFY(!Timer()->isActive());
    QVERIFY(Button("B_Start")->isVisible());
    QCOMPARE(Button("B_Start")->text(), QStringLiteral("Resume Voyage"));
    QVERIFY(EditAt(0)->isReadOnly());

    // The resume keeps the old period, whatever E_VR says now.
    EditAt(7)->setText(QStringLiteral("5"));
    Button("B_Start")->click();
    QVERIFY(Timer()->isActive());
    QCOMPARE(Timer()->interval(), 600000);
    QVERIFY(Button("B_Start")->isHidden());
    QCOMPARE(Button("B_Start")->text(), QStringLiteral("Start Voyage"));
    TICK();
    QCOMPARE(ReadView(), At(Column1Lon, Row0Lat));
    QVERIFY(boxes_->boxes.empty());
}

void TF_MainTest::stopQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("ends");
    QTest::newRow("Yes") << static_cast<int>(ModalResult::Yes) << true;
    QTest::newRow("No") << static_cast<int>(ModalResult::No) << false;
    QTest::newRow("close box") << static_cast<int>(ModalResult::Cancel) << true;
}

void TF_MainTest::stopQuestion() {
    QFETCH(int, answer);
    QFETCH(bool, ends);
    CreateWindow();
    // Asked also with no voyage; nothing follows then.
    boxes_->answers.push_back({ModalResult::Yes, {}});
    Button("B_Stop")->click();
    QCOMPARE(boxes_->Texts(), QStringList{ConfirmStop});
    QCOMPARE(boxes_->boxes[0].type, BoxType::Confirmation);
    QCOMPARE(boxes_->boxes[0].buttons, unsigned{ButtonYes | ButtonNo});

    SetEdits(HelpExample);
    Button("B_Start")->click();
    TICK();
    boxes_->boxes.clear();
    boxes_->answers.push_back({static_cast<ModalResult>(answer), {}});
    Button("B_Stop")->click();
    if (ends) {
        QCOMPARE(boxes_->Texts(), (QStringList{ConfirmStop, VoyageEnded}));
        QVERIFY(!Timer()->isActive());
        QVERIFY(Button("B_Start")->isVisible());
        QVERIFY(!EditAt(0)->isReadOnly());
        QCOMPARE(Gauge()->Text(), QStringLiteral("0%"));
    } else {
        QCOMPARE(boxes_->Texts(), QStringList{ConfirmStop});
        QVERIFY(Timer()->isActive());
        QVERIFY(Button("B_Start")->isHidden());
        TICK();
        QCOMPARE(ReadView(), At(Column1Lon, Row0Lat));
    }
}

void TF_MainTest::idleVoyageWakesOnlyForItsTicks() {
    CreateWindow();
    SetEdits(HelpExample);
    EditAt(7)->setText(QStringLiteral("10"));
    Button("B_Start")->click();
    // The user turns to Google Earth: another window is active.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QCoreApplication::processEvents();

    // Nothing in the window polls: the voyage timer is its only timer.
    QList<QObject*> objects = window_->findChildren<QObject*>();
    objects << window_.get();
    QList<int> intervals;
    for (QObject* object : objects) {
        for (const auto& timer : QAbstractEventDispatcher::instance()->registeredTimers(object)) {
            intervals << timer.interval;
        }
    }
    QCOMPARE(intervals, QList<int>{10000});
    QVERIFY(Timer()->isActive());
}

// ---------------------------------------------------------------- closing

void TF_MainTest::exitQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Yes") << static_cast<int>(ModalResult::Yes) << true;
    QTest::newRow("No") << static_cast<int>(ModalResult::No) << false;
    QTest::newRow("close box") << static_cast<int>(ModalResult::Cancel) << true;
}

void TF_MainTest::exitQuestion() {
    QFETCH(int, answer);
    QFETCH(bool, closes);
    CreateWindow();
    SetEdits(HelpExample);
    Button("B_Start")->click();
    boxes_->answers.push_back({static_cast<ModalResult>(answer), {}});

    QCOMPARE(window_->close(), closes);

    QCOMPARE(boxes_->Texts(), QStringList{ConfirmExit});
    QCOMPARE(boxes_->boxes[0].type, BoxType::Confirmation);
    QCOMPARE(boxes_->boxes[0].buttons, unsigned{ButtonYes | ButtonNo});
    QCOMPARE(window_->isVisible(), !closes);
    if (closes) {
        QCOMPARE(settings_->saves, 1);
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(QString::fromStdString(settings_->Text(EditNames[i])), HelpExample[i]);
        }
        QVERIFY(!Timer()->isActive());        // no tick reaches the closed window
        QVERIFY(!window_->Timer().Enabled()); // stopped through the model, not behind it
    } else {
        QCOMPARE(settings_->saves, 0);
        QVERIFY(Timer()->isActive());
        TICK();
        QCOMPARE(ReadView(), At(Column0Lon, Row0Lat));
    }
}

void TF_MainTest::closeWithoutVoyageOrPausedAsksNothing() {
    CreateWindow();
    SetEdits(HelpExample);
    Button("B_Start")->click();
    Button("B_Pause")->click();
    EditAt(7)->setText(QStringLiteral(" 12 "));
    QVERIFY(window_->close());
    QVERIFY(boxes_->boxes.empty());
    QCOMPARE(settings_->saves, 1);
    QCOMPARE(settings_->Text("E_VR"), std::string(" 12 "));
    QCOMPARE(settings_->Text("E_LatD"), std::string("48.86"));
}

void TF_MainTest::exitMenuClosesThroughTheSamePath() {
    CreateWindow();
    SetEdits(HelpExample);
    Button("B_Start")->click();
    boxes_->answers.push_back({ModalResult::No, {}});
    Find<QAction>("Exit1")->trigger();
    QCOMPARE(boxes_->Texts(), QStringList{ConfirmExit});
    QVERIFY(window_->isVisible());
    QCOMPARE(settings_->saves, 0);

    boxes_->answers.push_back({ModalResult::Yes, {}});
    Find<QAction>("Exit1")->trigger();
    QVERIFY(!window_->isVisible());
    QCOMPARE(settings_->saves, 1);
}

void TF_MainTest::sessionEndSavesWithoutAsking() {
    CreateWindow();
    SetEdits(HelpExample);
    Button("B_Start")->click();
    EditAt(7)->setText(QStringLiteral("45")); // the period stays editable
    auto* manager = qApp->findChild<QSessionManager*>();
    QVERIFY2(manager != nullptr, "no session manager to ask for the session's data");

    Q_EMIT qApp->commitDataRequest(*manager);

    QVERIFY(boxes_->boxes.empty());
    QCOMPARE(settings_->saves, 1);
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(QString::fromStdString(settings_->Text(EditNames[i])), HelpExample[i]);
    }
    QCOMPARE(settings_->Text("E_VR"), std::string("45"));
    // Nothing else happens: the window stays and the voyage goes on.
    QVERIFY(window_->isVisible());
    QVERIFY(window_->Timer().Enabled());
    // A store that cannot be written is silent too.
    settings_->writable = false;
    Q_EMIT qApp->commitDataRequest(*manager);
    QVERIFY(boxes_->boxes.empty());
    QVERIFY(boxes_->errors.empty());
}

// ---------------------------------------------------------------- keyboard

void TF_MainTest::altOrF10ReachesTheMenuBar_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Alt alone") << int(Qt::Key_Alt) << int(Qt::AltModifier);
    // X11 reports the Alt press without the Alt modifier.
    QTest::newRow("Alt alone, as X11 reports it") << int(Qt::Key_Alt) << int(Qt::NoModifier);
    QTest::newRow("F10") << int(Qt::Key_F10) << int(Qt::NoModifier);
}

void TF_MainTest::altOrF10ReachesTheMenuBar() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    CreateWindow();
    EditAt(0)->setFocus();
    QTRY_VERIFY(EditAt(0)->hasFocus());
    auto* menuBar = Find<QMenuBar>("MM_Main");
    QCOMPARE(menuBar->activeAction(), nullptr);
    // The menu bar takes the keyboard with its first menu active: open, or
    // only highlighted where the style handles Alt itself.
    QTest::keyClick(EditAt(0), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_COMPARE(menuBar->activeAction(), Find<QMenu>("File1")->menuAction());
    QVERIFY(Find<QMenu>("File1")->isVisible() || menuBar->hasFocus());
    // Esc closes it again.
    if (QWidget* popup = QApplication::activePopupWidget()) {
        QTest::keyClick(popup, Qt::Key_Escape);
    }
    if (menuBar->hasFocus()) {
        QTest::keyClick(menuBar, Qt::Key_Escape);
    }
    QTRY_VERIFY(!Find<QMenu>("File1")->isVisible());
    QTRY_COMPARE(menuBar->activeAction(), nullptr);
    EditAt(0)->setFocus();
    // Alt with another key (Alt+F4, say) is no lone Alt.
    QTest::keyPress(EditAt(0), Qt::Key_Alt, Qt::AltModifier);
    QCOMPARE(menuBar->activeAction(), nullptr);
    QTest::keyPress(EditAt(0), Qt::Key_Home, Qt::AltModifier);
    QCOMPARE(menuBar->activeAction(), nullptr);
    QTest::keyRelease(EditAt(0), Qt::Key_Home, Qt::AltModifier);
    QCOMPARE(menuBar->activeAction(), nullptr);
    QTest::keyRelease(EditAt(0), Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::processEvents();
    QCOMPARE(menuBar->activeAction(), nullptr);
}

// ---------------------------------------------------------------- errors

void TF_MainTest::defaultErrorBoxFromAFailedMultipleAreasStart() {
    CreateWindow();
    ShowPage("TS_MAreas");
    Find<QTableWidget>("SG_Areas")->item(0, 1)->setText(QStringLiteral("31,25"));
    SetEdits({QString(), QString(), QString(), QString(), QStringLiteral("0.3"),
              QStringLiteral("0.2"), QStringLiteral("250"), QStringLiteral("600")});
    Button("B_Start")->click();
    QVERIFY(boxes_->boxes.empty());
    QCOMPARE(boxes_->errors.size(), std::size_t{1});
    // The caption is made from this executable's name, TF_MainTest.
    QCOMPARE(boxes_->errors[0].caption, QStringLiteral("Tf_maintest"));
    QCOMPARE(boxes_->errors[0].text,
             QStringLiteral("'31,25' is not a valid floating point value."));
    QVERIFY(!Timer()->isActive());
}

void TF_MainTest::defaultErrorBoxRules_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << QStringLiteral("Disk full") << QStringLiteral("Disk full.");
    QTest::newRow("digit") << QStringLiteral("I/O error 32") << QStringLiteral("I/O error 32.");
    QTest::newRow("full stop") << QStringLiteral("Done.") << QStringLiteral("Done.");
    QTest::newRow("quote") << QStringLiteral("'x'") << QStringLiteral("'x'");
    QTest::newRow("blank") << QStringLiteral("a ") << QStringLiteral("a ");
    QTest::newRow("empty") << QString() << QString();
}

void TF_MainTest::defaultErrorBoxRules() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    CreateWindow();
    RunHandler(window_->VoyagePorts(), [&] { throw VoyageError(message.toStdString()); });
    QCOMPARE(boxes_->errors.size(), std::size_t{1});
    QCOMPARE(boxes_->errors[0].text, shown);
    QCOMPARE(boxes_->errors[0].caption, QStringLiteral("Tf_maintest"));
    // A refused operation shows nothing.
    RunHandler(window_->VoyagePorts(), [] { throw SilentAbort(); });
    QCOMPARE(boxes_->errors.size(), std::size_t{1});
    QVERIFY(boxes_->boxes.empty());
}

void TF_MainTest::tickErrorKeepsTheTimerAndThePosition() {
    CreateWindow();
    SetEdits(HelpExample);
    Button("B_Start")->click();
    TICK();
    QCOMPARE(Gauge()->Text(), QStringLiteral("16%"));

    // A folder takes the view file's place (the voyage's lock keeps Windows
    // from removing the whole folder): the tick's write fails, its error box
    // opens without waiting, and the voyage neither moves nor stops; the
    // ticks that follow retry without a second box.
    const auto block = [this] { return QFile::remove(ViewPath()) && QDir().mkdir(ViewPath()); };
    const auto unblock = [this] { return QDir().rmdir(ViewPath()); };
    QVERIFY(block());
    TICK();
    TICK();
    TICK();
    QCOMPARE(boxes_->errors.size(), std::size_t{1});
    QVERIFY(boxes_->errors[0].text.endsWith(QLatin1Char('.')));
    QCOMPARE(boxes_->openedErrors.size(), std::size_t{1});
    const QPointer<QWidget> box = boxes_->openedErrors[0];
    QVERIFY(box != nullptr && box->isVisible());
    QVERIFY(Timer()->isActive());
    QCOMPARE(Gauge()->Text(), QStringLiteral("16%"));

    // Writable again: the same centre is written, the box closes.
    QVERIFY(unblock());
    TICK();
    QCOMPARE(ReadView(), At(Column1Lon, Row0Lat));
    QCOMPARE(Gauge()->Text(), QStringLiteral("33%"));
    QTRY_VERIFY(box.isNull());
    TICK();
    QCOMPARE(ReadView(), At(Column2Lon, Row0Lat));
    QCOMPARE(boxes_->errors.size(), std::size_t{1});

    // Closed by its OK button while the fault lasts: the next tick opens one.
    QVERIFY(block());
    TICK();
    QCOMPARE(boxes_->openedErrors.size(), std::size_t{2});
    boxes_->openedErrors[1]->close();
    TICK();
    QCOMPARE(boxes_->openedErrors.size(), std::size_t{3});
    QVERIFY(unblock());
    boxes_->answers.push_back({ModalResult::Yes, {}});
    Button("B_Stop")->click();
}

void TF_MainTest::ticksGoOnBehindTheRealTickErrorBox() {
    // The program's own box routine: a box that waited for OK would keep Qt
    // from firing the timer again until it was answered.
    QtMessageBoxRoutine realBoxes;
    window_ = std::make_unique<TF_Main>(MainWindowServices{
        .settings = *settings_,
        .shell = *shell_,
        .cacheFolder = *cacheFolder_,
        .messageBox = realBoxes,
        .viewFileDirectory = viewDirectory_->path().toStdString(),
        .decimalSeparator = [this] { return separator_; },
    });
    window_->show();
    // 100 km wide: hundreds of centres, no end (and no modal end box) in sight.
    QStringList texts = HelpExample;
    texts[2] = QStringLiteral("100");
    SetEdits(texts);
    Button("B_Start")->click();
    // A folder in the view file's place.
    QVERIFY(QFile::remove(ViewPath()));
    QVERIFY(QDir().mkdir(ViewPath()));
    window_->Timer().SetInterval(20);

    const auto errorBox = [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(widget);
                box != nullptr && box->isVisible()) {
                return box;
            }
        }
        return static_cast<QMessageBox*>(nullptr);
    };
    QTRY_VERIFY(errorBox() != nullptr);
    const QPointer<QMessageBox> box = errorBox();
    QCOMPARE(box->text(), QStringLiteral("File access denied."));
    QVERIFY(!box->isModal());
    const std::int64_t heldAt = Gauge()->Progress();

    // With the box open, the folder goes: only a tick that still runs
    // behind the box can write again, move the gauge and close the box.
    QVERIFY(QDir().rmdir(ViewPath()));
    QTRY_VERIFY(QFileInfo(ViewPath()).isFile());
    QTRY_VERIFY(Gauge()->Progress() > heldAt);
    QTRY_VERIFY(box.isNull());
    int boxes = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        boxes += qobject_cast<QMessageBox*>(widget) != nullptr ? 1 : 0;
    }
    QCOMPARE(boxes, 0);
    window_->B_PauseClick();
    window_.reset();
}

// ---------------------------------------------------------------- separator

void TF_MainTest::decimalSeparatorAtStartAndOnLocaleChange() {
    separator_ = ',';
    CreateWindow();
    SetEdits({QStringLiteral("48,86"), QStringLiteral("2,2877"), QStringLiteral("1"),
              QStringLiteral("0,4"), QStringLiteral("0,3"), QStringLiteral("0,2"),
              QStringLiteral("250"), QStringLiteral("600")});
    Button("B_Start")->click();
    QVERIFY(boxes_->boxes.empty());
    QCOMPARE(ReadView().latitude, QStringLiteral("48,8591117858887"));
    QCOMPARE(ReadView().longitude, QStringLiteral("2,28924155235291"));

    // Read again only when the system announces a change.
    separator_ = '.';
    TICK();
    QCOMPARE(ReadView().latitude, QStringLiteral("48,8591117858887"));
    QEvent change(QEvent::LocaleChange);
    QCoreApplication::sendEvent(window_.get(), &change);
    boxes_->answers.push_back({ModalResult::Yes, {}});
    Button("B_Stop")->click();
    boxes_->boxes.clear();
    SetEdits(HelpExample);
    Button("B_Start")->click();
    QVERIFY(boxes_->boxes.empty());
    QCOMPARE(ReadView(), At(Column0Lon, Row0Lat));
}

// ---------------------------------------------------------------- menu

void TF_MainTest::cacheFolderCommand_data() {
    QTest::addColumn<bool>("succeeds");
    QTest::newRow("opened") << true;
    QTest::newRow("failed") << false;
}

void TF_MainTest::cacheFolderCommand() {
    QFETCH(bool, succeeds);
    CreateWindow();
    cacheFolder_->succeeds = succeeds;
    Find<QAction>("OpentheCachefolder1")->trigger();
    QCOMPARE(cacheFolder_->runs, 1);
    if (succeeds) {
        QVERIFY(boxes_->boxes.empty());
    } else {
        QCOMPARE(boxes_->Texts(),
                 QStringList{QStringLiteral("Error while attempting to open the cache folder.")});
        QCOMPARE(boxes_->boxes[0].type, BoxType::Error);
        QCOMPARE(boxes_->boxes[0].buttons, unsigned{ButtonOk});
    }
}

void TF_MainTest::helpAndAboutAreModalAndDestroyed_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("windowClass");
    QTest::newRow("help") << QStringLiteral("Quickstart1") << QStringLiteral("tembrel::TF_Help");
    QTest::newRow("about") << QStringLiteral("AboutTembrel1")
                           << QStringLiteral("tembrel::TF_About");
}

void TF_MainTest::helpAndAboutAreModalAndDestroyed() {
    QFETCH(QString, item);
    QFETCH(QString, windowClass);
    CreateWindow();
    QAction* action = window_->findChild<QAction*>(item);
    QVERIFY(action != nullptr);
    for (int opening = 0; opening < 2; ++opening) {
        QString shownClass;
        QWidget* shownParent = nullptr;
        bool modal = false;
        QTimer::singleShot(0, this, [&] {
            QWidget* shown = QApplication::activeModalWidget();
            if (shown != nullptr) {
                shownClass = QLatin1String(shown->metaObject()->className());
                shownParent = shown->parentWidget();
                modal = shown->isModal();
                shown->close();
            }
        });
        action->trigger();
        QCOMPARE(shownClass, windowClass);
        QCOMPARE(shownParent, window_.get());
        QVERIFY(modal);
        // Destroyed when it closes: every opening shows a fresh window.
        QVERIFY(window_->findChildren<TF_Help*>().isEmpty());
        QVERIFY(window_->findChildren<TF_About*>().isEmpty());
    }
    QVERIFY(boxes_->boxes.empty());
    QVERIFY(boxes_->errors.empty());
}

QTEST_MAIN(TF_MainTest)
#include "TF_MainTest.moc"
