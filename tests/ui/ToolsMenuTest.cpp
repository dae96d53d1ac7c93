// The Tools menu of the main window: its place and items, the Google Earth
// link, the voyage estimate in its box and in the gauge's tooltip (also
// during a voyage), the coverage preview, and the imports of points and
// areas with their bad lines, refusals and confirmation.

#include "MainWindowFixture.h"

#include "CoveragePreview.h"
#include "GaugeWidget.h"
#include "GoogleEarthLinkFile.h"
#include "Messages.h"
#include "TF_Main.h"

#include <QAction>
#include <QFile>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <memory>

using namespace tembrel;
using namespace tembrel::test;

namespace {

const QStringList HelpExample = {
    QStringLiteral("48.86"), QStringLiteral("2.2877"), QStringLiteral("1"),   QStringLiteral("0.4"),
    QStringLiteral("0.3"),   QStringLiteral("0.2"),    QStringLiteral("250"), QStringLiteral("10")};
const QString DataNotCorrect = QLatin1String(messages::DataNotCorrect);

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

class ToolsMenuTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void toolsMenuItems();
    void linkCommandsSayWhichToUseWhen_data();
    void linkCommandsSayWhichToUseWhen();

    void linkIsWrittenBesideTheViewFile();
    void showViewFileOpensItsFolder_data();
    void showViewFileOpensItsFolder();
    void showViewFileFromTheWorkingFolder();
    void linkRefusesAPeriodThatIsNotWholeSecondsAboveZero_data();
    void linkRefusesAPeriodThatIsNotWholeSecondsAboveZero();
    void linkCancelledWritesNothing();
    void linkToAFolderThatIsNotThere();

    void estimateBox_data();
    void estimateBox();
    void estimateTooltipFollowsTheInputs();
    void estimateTooltipCountsDownDuringAVoyage();

    void coveragePreviewOfTheActivePage();
    void coveragePreviewRefusesAVoyageThatNeverEnds();

    void importPointsFillsTheMemo_data();
    void importPointsFillsTheMemo();
    void importPointsWithBadLinesAsksFirst_data();
    void importPointsWithBadLinesAsksFirst();
    void importRefusals_data();
    void importRefusals();
    void cancelledImportLeavesMemoAndGridAlone_data();
    void cancelledImportLeavesMemoAndGridAlone();
    void importedPointsWithADecimalCommaFlyAsWritten();
    void importAreasFillsTheGrid();
    void importsAreOffDuringAVoyage();

private:
    void Trigger(const char* action) const { Find<QAction>(action)->trigger(); }
    // The tooltip as the user sees it: worked out when it is about to show.
    QString Tip() const {
        auto* gauge = Find<GaugeWidget>("GA_Progress");
        QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), gauge->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(gauge, &hover);
        return gauge->toolTip();
    }
    QString Memo() const { return Find<QPlainTextEdit>("M_Points")->toPlainText(); }
    QString Cell(int row, int column) const {
        const QTableWidgetItem* item = Find<QTableWidget>("SG_Areas")->item(row, column);
        return item != nullptr ? item->text() : QString();
    }
    QString Folder(const char* name) const { return viewDirectory_->filePath(QLatin1String(name)); }
};

void ToolsMenuTest::init() {
    Reset();
    CreateWindow();
}

void ToolsMenuTest::cleanup() {
    VerifyScriptsUsedUp();
    window_.reset();
}

// ---------------------------------------------------------------- the menu

void ToolsMenuTest::toolsMenuItems() {
    // Its place among the others is TF_MainTest's (menuCaptions).
    const QList<QAction*> top = window_->menuBar()->actions();
    QCOMPARE(top[2]->menu()->objectName(), QStringLiteral("Tools1"));

    QStringList items;
    for (const QAction* action : top[2]->menu()->actions()) {
        items << (action->isSeparator() ? QStringLiteral("-") : action->text()) + QLatin1Char(' ') +
                     action->objectName();
        QVERIFY(action->shortcut().isEmpty());
    }
    QCOMPARE(items,
             (QStringList{
                 QStringLiteral("Show view file Showviewfile1"),
                 QStringLiteral("Create Google Earth link... CreateGoogleEarthlink1"),
                 QStringLiteral("Create live Google Earth link... CreateliveGoogleEarthlink1"),
                 QStringLiteral("- N2"),
                 QStringLiteral("Voyage estimate Voyageestimate1"),
                 QStringLiteral("Voyage report... Voyagereport1"),
                 QStringLiteral("Measure snapshot size... Measuresnapshotsize1"),
                 QStringLiteral("Export coverage preview... Exportcoveragepreview1"),
                 QStringLiteral("- N3"),
                 QStringLiteral("Import points... Importpoints1"),
                 QStringLiteral("Import areas... Importareas1"),
             }));
}

void ToolsMenuTest::linkCommandsSayWhichToUseWhen_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("tip");
    QTest::newRow("file link") << QStringLiteral("CreateGoogleEarthlink1")
                               << QStringLiteral("Use it when the live link cannot be:\nGoogle "
                                                 "Earth reads the view file, and Tembrel cannot "
                                                 "see whether it follows.");
    QTest::newRow("live link") << QStringLiteral("CreateliveGoogleEarthlink1")
                               << QStringLiteral("Use it while Tembrel runs beside Google Earth:\n"
                                                 "Google Earth reports its camera, for the light, "
                                                 "Voyage report and Measure snapshot size.");
}

void ToolsMenuTest::linkCommandsSayWhichToUseWhen() {
    QFETCH(QString, action);
    QFETCH(QString, tip);
    // Shown as the pointer rests on the command in the open menu.
    const auto* tools = Find<QMenu>("Tools1");
    QVERIFY(tools->toolTipsVisible());
    const auto* command = Find<QAction>(action.toLatin1().constData());
    QCOMPARE(command->toolTip(), tip);
}

// ---------------------------------------------------------------- link

void ToolsMenuTest::linkIsWrittenBesideTheViewFile() {
    SetEdits(HelpExample);
    const QString link = Folder("TembrelLink.kml");
    dialogs_->answers.push_back(link);
    Trigger("CreateGoogleEarthlink1");

    QCOMPARE(dialogs_->requests.size(), std::size_t{1});
    QVERIFY(dialogs_->requests[0].save);
    QCOMPARE(dialogs_->requests[0].caption, QStringLiteral("Create Google Earth link"));
    QCOMPARE(dialogs_->requests[0].proposed, link);
    const std::string viewFile = Folder("TembrelData.KML").toStdString();
    QCOMPARE(ReadFile(link), QByteArray::fromStdString(GoogleEarthLinkFile::Render(viewFile, 10)));
    QVERIFY(ReadFile(link).contains("<refreshInterval>10</refreshInterval>"));

    QCOMPARE(boxes_->boxes.size(), std::size_t{1});
    QCOMPARE(boxes_->boxes[0].type, BoxType::Information);
    QVERIFY(boxes_->boxes[0].text.startsWith(
        QStringLiteral("The Google Earth link has been written to %1.")
            .arg(QDir::toNativeSeparators(link))));
    QVERIFY(boxes_->boxes[0].text.contains(QStringLiteral("every 10 second(s)")));
}

void ToolsMenuTest::showViewFileOpensItsFolder_data() {
    QTest::addColumn<bool>("opens");
    QTest::newRow("opened") << true;
    QTest::newRow("the shell cannot start") << false;
}

void ToolsMenuTest::showViewFileOpensItsFolder() {
    QFETCH(bool, opens);
    shell_->accepts = opens;
    Trigger("Showviewfile1");
    // The folder as a file:// URL of its absolute path, as the cache folder.
    const QString url = QUrl::fromLocalFile(viewDirectory_->path()).toString(QUrl::FullyEncoded);
    QVERIFY(url.startsWith(QLatin1String("file:///")));
    QCOMPARE(shell_->opened, std::vector<std::string>{url.toStdString()});
    // The folder is named, so the user can open it by hand.
    QCOMPARE(boxes_->Texts(),
             opens ? QStringList{}
                   : QStringList{QStringLiteral("Error while attempting to open the view file's "
                                                "folder.\n\nOpen it yourself: %1")
                                     .arg(QDir::toNativeSeparators(viewDirectory_->path()))});
}

void ToolsMenuTest::showViewFileFromTheWorkingFolder() {
    // The program's own case: the view file goes to the current directory.
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(viewDirectory_->path()));
    CreateWindow({});
    Trigger("Showviewfile1");
    QVERIFY(QDir::setCurrent(before));
    QCOMPARE(shell_->opened, std::vector<std::string>{
                                 QUrl::fromLocalFile(QDir(viewDirectory_->path()).canonicalPath())
                                     .toString(QUrl::FullyEncoded)
                                     .toStdString()});
}

void ToolsMenuTest::linkRefusesAPeriodThatIsNotWholeSecondsAboveZero_data() {
    QTest::addColumn<QString>("refresh");
    QTest::newRow("zero") << QStringLiteral("0");
    QTest::newRow("empty") << QString();
    QTest::newRow("fraction") << QStringLiteral("2.5");
    QTest::newRow("negative") << QStringLiteral("-10");
    QTest::newRow("beyond the timer") << QStringLiteral("3000000");
}

void ToolsMenuTest::linkRefusesAPeriodThatIsNotWholeSecondsAboveZero() {
    QFETCH(QString, refresh);
    SetEdits(HelpExample);
    Find<QLineEdit>("E_VR")->setText(refresh);
    Trigger("CreateGoogleEarthlink1");
    QVERIFY(dialogs_->requests.empty());
    QCOMPARE(boxes_->Texts(), QStringList{DataNotCorrect});
    QCOMPARE(boxes_->boxes[0].type, BoxType::Error);
    QCOMPARE(boxes_->boxes[0].buttons, unsigned{ButtonOk});
    QVERIFY(!QFile::exists(Folder("TembrelLink.kml")));
}

void ToolsMenuTest::linkCancelledWritesNothing() {
    SetEdits(HelpExample);
    dialogs_->answers.push_back(QString());
    Trigger("CreateGoogleEarthlink1");
    QCOMPARE(dialogs_->requests.size(), std::size_t{1});
    QVERIFY(boxes_->boxes.empty());
    QCOMPARE(QDir(viewDirectory_->path()).entryList(QDir::Files), QStringList{});
}

void ToolsMenuTest::linkToAFolderThatIsNotThere() {
    SetEdits(HelpExample);
    const QString link = Folder("missing/TembrelLink.kml");
    dialogs_->answers.push_back(link);
    Trigger("CreateGoogleEarthlink1");
    QCOMPARE(boxes_->Texts(), QStringList{QStringLiteral("%1 cannot be written: Invalid filename.")
                                              .arg(QDir::toNativeSeparators(link))});
    QCOMPARE(boxes_->boxes[0].type, BoxType::Error);
}

// ---------------------------------------------------------------- estimate

void ToolsMenuTest::estimateBox_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("text");
    QTest::newRow("area") << QStringLiteral("TS_Area")
                          << QStringLiteral("Voyage estimate: 6 views, 1 min 10 s (7 periods)");
    // The example grid: 16 centres (8 x 2) and 141 centres (3 x 47), as
    // tembrel-sim flies them, each area a period more, and the end's period.
    QTest::newRow("areas") << QStringLiteral("TS_MAreas")
                           << QStringLiteral(
                                  "Voyage estimate: 157 views, 26 min 40 s (160 periods)");
    QTest::newRow("points") << QStringLiteral("TS_Points")
                            << QStringLiteral("Voyage estimate: 2 views, 20 s (2 periods)");
}

void ToolsMenuTest::estimateBox() {
    QFETCH(QString, page);
    QFETCH(QString, text);
    SetEdits(HelpExample);
    ShowPage(page.toLatin1().constData());
    Trigger("Voyageestimate1");
    // The box says where the view file is; the tooltip has no room for it.
    QCOMPARE(boxes_->Texts(),
             QStringList{text + QStringLiteral("\n\nThe view file is %1.")
                                    .arg(QDir::toNativeSeparators(Folder("TembrelData.KML")))});
    QCOMPARE(boxes_->boxes[0].type, BoxType::Information);
    QCOMPARE(boxes_->boxes[0].buttons, unsigned{ButtonOk});
    QCOMPARE(Tip(), text);
}

void ToolsMenuTest::estimateTooltipFollowsTheInputs() {
    SetEdits(HelpExample);
    QCOMPARE(Tip(), QStringLiteral("Voyage estimate: 6 views, 1 min 10 s (7 periods)"));
    Find<QLineEdit>("E_VR")->setText(QStringLiteral("5"));
    QCOMPARE(Tip(), QStringLiteral("Voyage estimate: 6 views, 35 s (7 periods)"));
    Find<QLineEdit>("E_VE")->setText(QStringLiteral("0.9"));
    QCOMPARE(Tip(), QStringLiteral("Voyage estimate: 6 views, 35 s (7 periods)"));
    Find<QLineEdit>("E_VE")->setText(QStringLiteral("0.6"));
    QCOMPARE(Tip(), QStringLiteral("Voyage estimate: 4 views, 25 s (5 periods)"));
    Find<QLineEdit>("E_LatD")->setText(QStringLiteral("north"));
    QCOMPARE(Tip(), QStringLiteral("This voyage would stop at its start with the message: ") +
                        DataNotCorrect);

    ShowPage("TS_Points");
    QCOMPARE(Tip(), QStringLiteral("Voyage estimate: 2 views, 10 s (2 periods)"));
    Find<QPlainTextEdit>("M_Points")->setPlainText(QStringLiteral("a\n1, 2\nb\n3, 4\nc"));
    QCOMPARE(Tip(), QStringLiteral("Voyage estimate: 2 views, 20 s (4 periods)"));

    ShowPage("TS_MAreas");
    auto* grid = Find<QTableWidget>("SG_Areas");
    grid->item(1, 3)->setText(QString()); // the second row is no longer complete
    QCOMPARE(Tip(), QStringLiteral("Voyage estimate: 16 views, 1 min 30 s (18 periods)"));
}

void ToolsMenuTest::estimateTooltipCountsDownDuringAVoyage() {
    SetEdits(HelpExample);
    window_->B_StartClick();
    QVERIFY(Tip().startsWith(QStringLiteral("Time left: 6 views, ")));
    window_->T_TimerTimer();
    window_->T_TimerTimer();
    QVERIFY2(Tip().startsWith(QStringLiteral("Time left: 4 views, ")), qPrintable(Tip()));
    QVERIFY(Tip().endsWith(QStringLiteral("(5 periods)")));
    // Paused: what is left after the resume, a whole period to its first tick.
    window_->B_PauseClick();
    QCOMPARE(Tip(), QStringLiteral("Time left: 4 views, 50 s (5 periods)"));
    Trigger("Voyageestimate1");
    QVERIFY(boxes_->Texts().value(0).startsWith(
        QStringLiteral("Time left: 4 views, 50 s (5 periods)\n\nThe view file is ")));
    // Stopped: the next voyage's estimate again.
    boxes_->answers.push_back({ModalResult::Yes, {}});
    window_->B_StopClick();
    QCOMPARE(Tip(), QStringLiteral("Voyage estimate: 6 views, 1 min 10 s (7 periods)"));
}

// ---------------------------------------------------------------- preview

void ToolsMenuTest::coveragePreviewOfTheActivePage() {
    SetEdits(HelpExample);
    ShowPage("TS_MAreas");
    const QString preview = Folder("TembrelCoverage.kml");
    dialogs_->answers.push_back(preview);
    Trigger("Exportcoveragepreview1");
    QCOMPARE(dialogs_->requests.size(), std::size_t{1});
    QCOMPARE(dialogs_->requests[0].proposed, preview);
    QCOMPARE(ReadFile(preview),
             QByteArray::fromStdString(
                 CoveragePreview(window_->VoyagePorts(), window_->Timer(), '.').Render(1)));
    QVERIFY(ReadFile(preview).contains("<name>Area 2</name>"));
    QCOMPARE(boxes_->boxes.size(), std::size_t{1});
    QCOMPARE(boxes_->boxes[0].type, BoxType::Information);
    QVERIFY(boxes_->boxes[0].text.startsWith(
        QStringLiteral("The coverage preview has been written to %1.")
            .arg(QDir::toNativeSeparators(preview))));
}

void ToolsMenuTest::coveragePreviewRefusesAVoyageThatNeverEnds() {
    SetEdits(HelpExample);
    Find<QLineEdit>("E_VEast")->setText(QStringLiteral("-0.3"));
    Trigger("Exportcoveragepreview1");
    QVERIFY(dialogs_->requests.empty());
    QCOMPARE(boxes_->boxes.size(), std::size_t{1});
    QCOMPARE(boxes_->boxes[0].type, BoxType::Error);
    QVERIFY(boxes_->boxes[0].text.contains(QStringLiteral("does not end by itself")));
}

// ---------------------------------------------------------------- imports

void ToolsMenuTest::importPointsFillsTheMemo_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("csv") << QStringLiteral("p.csv")
                         << QByteArray("longitude;latitude;name\n30.102;31.215;Cairo\n"
                                       "-25.365;16.2145;Praia\n");
    QTest::newRow("gpx") << QStringLiteral("p.gpx")
                         << QByteArray("<gpx><wpt lat=\"31.215\" lon=\"30.102\"/><trk><trkseg>"
                                       "<trkpt lat=\"16.2145\" lon=\"-25.365\"/></trkseg></trk>"
                                       "</gpx>");
    QTest::newRow("kml") << QStringLiteral("p.kml")
                         << QByteArray("<kml><Document><Placemark><Point><coordinates>30.102,"
                                       "31.215,0</coordinates></Point></Placemark><Placemark>"
                                       "<Point><coordinates>-25.365,16.2145</coordinates>"
                                       "</Point></Placemark></Document></kml>");
}

void ToolsMenuTest::importPointsFillsTheMemo() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    const QString path = viewDirectory_->filePath(name);
    WriteFile(path, content);
    Find<QPlainTextEdit>("M_Points")->setPlainText(QStringLiteral("old"));
    dialogs_->answers.push_back(path);
    Trigger("Importpoints1");
    QCOMPARE(dialogs_->requests.size(), std::size_t{1});
    QVERIFY(!dialogs_->requests[0].save);
    QCOMPARE(dialogs_->requests[0].proposed, viewDirectory_->path());
    QVERIFY(boxes_->boxes.empty());
    QCOMPARE(Memo(), QStringLiteral("30.102, 31.215\n-25.365, 16.2145"));
}

void ToolsMenuTest::importPointsWithBadLinesAsksFirst_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("memo");
    QTest::newRow("yes") << int(ModalResult::Yes) << QStringLiteral("1, 2\n5, 6");
    QTest::newRow("no") << int(ModalResult::No) << QStringLiteral("old");
    QTest::newRow("close box") << int(ModalResult::Cancel) << QStringLiteral("old");
}

void ToolsMenuTest::importPointsWithBadLinesAsksFirst() {
    QFETCH(int, answer);
    QFETCH(QString, memo);
    const QString path = viewDirectory_->filePath(QStringLiteral("p.csv"));
    WriteFile(path, "1,2\n3,north\n5,6\n200,0\n");
    Find<QPlainTextEdit>("M_Points")->setPlainText(QStringLiteral("old"));
    dialogs_->answers.push_back(path);
    boxes_->answers.push_back({static_cast<ModalResult>(answer), {}});
    Trigger("Importpoints1");
    QCOMPARE(boxes_->Texts(),
             QStringList{QStringLiteral("2 lines of the file cannot be read:\n"
                                        "Line 2: latitude 'north' is not a number\n"
                                        "Line 4: longitude 200 is outside -180 to 180\n\n"
                                        "Import the other 2 points?")});
    QCOMPARE(boxes_->boxes[0].type, BoxType::Confirmation);
    QCOMPARE(boxes_->boxes[0].buttons, unsigned{ButtonYes | ButtonNo});
    QCOMPARE(Memo(), memo);
}

void ToolsMenuTest::importRefusals_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QByteArray points = "lon,lat\n";
    for (int i = 0; i < 32768; ++i) {
        points += QByteArray::number(i % 100) + "," + QByteArray::number(i % 50) + "\n";
    }
    QByteArray areas;
    for (int i = 0; i < 51; ++i) {
        areas += QByteArray::number(i) + ",20,1,1\n";
    }
    QTest::newRow("too many points")
        << QStringLiteral("Importpoints1") << QStringLiteral("p.csv") << points
        << QStringLiteral("The file holds more than 32767 points; the points list takes at most "
                          "32767. Nothing has been imported.");
    QTest::newRow("too many areas")
        << QStringLiteral("Importareas1") << QStringLiteral("a.csv") << areas
        << QStringLiteral("The file holds more than 50 areas; the area grid takes at most 50. "
                          "Nothing has been imported.");
    QTest::newRow("not xml") << QStringLiteral("Importpoints1") << QStringLiteral("p.gpx")
                             << QByteArray("<gpx><wpt lat=\"1\" lon=\"2\">\n")
                             << QStringLiteral("The file is not well-formed XML: ");
    QTest::newRow("nothing found")
        << QStringLiteral("Importpoints1") << QStringLiteral("p.csv") << QByteArray("x,y\n1,z\n")
        << QStringLiteral("1 line of the file cannot be read:\nLine 2: latitude 'z' is not a "
                          "number\n\nNo points found in the file. Nothing has been imported.");
    // A KMZ is a zip archive: named for what it is, not read as CSV.
    const QByteArray zip =
        QByteArray("PK\x03\x04\x14\x00\x00\x00\x08\x00", 10) + QByteArray(200, '\xC3');
    QTest::newRow("kmz points")
        << QStringLiteral("Importpoints1") << QStringLiteral("places.kmz") << zip
        << QStringLiteral("The file places.kmz is a KMZ file, a zipped KML: Import points... "
                          "reads KML as it is, not zipped.");
    QTest::newRow("kmz areas")
        << QStringLiteral("Importareas1") << QStringLiteral("areas.kmz") << zip
        << QStringLiteral("The file areas.kmz is a KMZ file, a zipped KML: Import areas... reads "
                          "CSV text, one area a line (latitude, longitude, width and height in "
                          "km). Nothing has been imported.");
    QTest::newRow("kml of paths")
        << QStringLiteral("Importpoints1") << QStringLiteral("p.kml")
        << QByteArray("<kml><Document><Placemark><LineString><coordinates>1,2 3,4</coordinates>"
                      "</LineString></Placemark><Placemark><LineString><coordinates>1,2 3,4"
                      "</coordinates></LineString></Placemark><Placemark><Polygon><outerBoundaryIs>"
                      "<LinearRing><coordinates>1,2 3,4 5,6 1,2</coordinates></LinearRing>"
                      "</outerBoundaryIs></Polygon></Placemark></Document></kml>")
        << QStringLiteral("No points found in the file; it holds 2 paths and 1 polygon. Nothing "
                          "has been imported.");
    QTest::newRow("no areas") << QStringLiteral("Importareas1") << QStringLiteral("a.csv")
                              << QByteArray("")
                              << QStringLiteral(
                                     "No areas found in the file. Nothing has been imported.");
}

void ToolsMenuTest::importRefusals() {
    QFETCH(QString, action);
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const QString path = viewDirectory_->filePath(name);
    WriteFile(path, content);
    const QString memoBefore = Memo();
    const QString cellBefore = Cell(1, 3);
    dialogs_->answers.push_back(path);
    Trigger(action.toLatin1().constData());
    QCOMPARE(boxes_->boxes.size(), std::size_t{1});
    QCOMPARE(boxes_->boxes[0].type, BoxType::Error);
    QVERIFY2(boxes_->boxes[0].text.startsWith(message), qPrintable(boxes_->boxes[0].text));
    QCOMPARE(Memo(), memoBefore);
    QCOMPARE(Cell(1, 3), cellBefore);
}

void ToolsMenuTest::cancelledImportLeavesMemoAndGridAlone_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    // Under the limits, but many chunks long: the read is still going when
    // Cancel is pressed.
    // (areas files end at 4 MB).
    const QByteArray badLines = QByteArray("x,y\n").repeated(1000000);
    QTest::newRow("points") << QStringLiteral("Importpoints1") << QStringLiteral("p.csv")
                            << QByteArray("1,2\n") + badLines;
    QTest::newRow("areas") << QStringLiteral("Importareas1") << QStringLiteral("a.csv")
                           << QByteArray("1,2,3,4\n") + badLines;
    // Cut short by the cancel, the XML is unfinished: no fault to show.
    const QByteArray elements = QByteArray("<x/>").repeated(1000000);
    QTest::newRow("gpx") << QStringLiteral("Importpoints1") << QStringLiteral("p.gpx")
                         << QByteArray("<gpx><wpt lat=\"1\" lon=\"2\"/>") + elements +
                                QByteArray("</gpx>");
    QTest::newRow("kml") << QStringLiteral("Importpoints1") << QStringLiteral("p.kml")
                         << QByteArray("<kml><Placemark><Point><coordinates>2,1</coordinates>"
                                       "</Point></Placemark>") +
                                elements + QByteArray("</kml>");
}

void ToolsMenuTest::cancelledImportLeavesMemoAndGridAlone() {
    QFETCH(QString, action);
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    const QString path = viewDirectory_->filePath(name);
    WriteFile(path, content);
    const QString memoBefore = Memo();
    const QString cellBefore = Cell(0, 0);
    dialogs_->answers.push_back(path);
    // The window goes on handling events while the file is read: the
    // progress dialog is there to cancel.
    bool cancelled = false;
    QTimer::singleShot(0, window_.get(), [&] {
        auto* progress = window_->findChild<QProgressDialog*>(QStringLiteral("ImportProgress"));
        QVERIFY(progress != nullptr);
        QCOMPARE(progress->windowModality(), Qt::WindowModal);
        auto* cancel = progress->findChild<QPushButton*>();
        QVERIFY(cancel != nullptr);
        QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
        cancel->click();
        cancelled = true;
    });
    Trigger(action.toLatin1().constData());
    QVERIFY(cancelled);
    QVERIFY(boxes_->boxes.empty());
    QCOMPARE(Memo(), memoBefore);
    QCOMPARE(Cell(0, 0), cellBefore);
    QVERIFY(window_->findChild<QProgressDialog*>(QStringLiteral("ImportProgress")) == nullptr);
}

void ToolsMenuTest::importedPointsWithADecimalCommaFlyAsWritten() {
    separator_ = ',';
    window_.reset();
    CreateWindow();
    const QString path = viewDirectory_->filePath(QStringLiteral("p.csv"));
    WriteFile(path, "30.102,31.215\n");
    dialogs_->answers.push_back(path);
    Trigger("Importpoints1");
    // The first comma still parts longitude and latitude.
    QCOMPARE(Memo(), QStringLiteral("30102E-3, 31,215"));
    SetEdits(HelpExample);
    ShowPage("TS_Points");
    window_->B_StartClick();
    window_->T_TimerTimer();
    const QByteArray view = ReadFile(Folder("TembrelData.KML"));
    QVERIFY2(view.contains("<longitude>30,1019992828369</longitude>"), view.constData());
    QVERIFY(view.contains("<latitude>31,2150001525879</latitude>"));
    QCOMPARE(boxes_->Texts(), QStringList{QLatin1String(messages::VoyageEnded)});
}

void ToolsMenuTest::importAreasFillsTheGrid() {
    const QString path = viewDirectory_->filePath(QStringLiteral("a.csv"));
    WriteFile(path, "Latitude,Longitude,Width,Height\n48.86,2.2877,1,0.4\n50,oops,1,1\n");
    dialogs_->answers.push_back(path);
    boxes_->answers.push_back({ModalResult::Yes, {}});
    Trigger("Importareas1");
    QCOMPARE(boxes_->Texts(),
             QStringList{QStringLiteral("1 line of the file cannot be read:\n"
                                        "Line 3: longitude 'oops' is not a number\n\n"
                                        "Import the other 1 area?")});
    QCOMPARE((QStringList{Cell(0, 0), Cell(0, 1), Cell(0, 2), Cell(0, 3)}),
             (QStringList{QStringLiteral("48.86"), QStringLiteral("2.2877"), QStringLiteral("1"),
                          QStringLiteral("0.4")}));
    // The example's second row is gone: the grid holds the file alone.
    QCOMPARE(Cell(1, 0), QString());
    QCOMPARE(Cell(1, 3), QString());
    SetEdits(HelpExample);
    ShowPage("TS_MAreas");
    QCOMPARE(Tip(), QStringLiteral("Voyage estimate: 6 views, 1 min 20 s (8 periods)"));
}

void ToolsMenuTest::importsAreOffDuringAVoyage() {
    SetEdits(HelpExample);
    window_->B_StartClick();
    QMenu* tools = Find<QMenu>("Tools1");
    QMetaObject::invokeMethod(tools, "aboutToShow");
    QVERIFY(!Find<QAction>("Importpoints1")->isEnabled());
    QVERIFY(!Find<QAction>("Importareas1")->isEnabled());
    QVERIFY(Find<QAction>("Voyageestimate1")->isEnabled());
    // Even when reached another way, nothing is asked or changed.
    const QString memo = Memo();
    Trigger("Importpoints1");
    Trigger("Importareas1");
    QVERIFY(dialogs_->requests.empty());
    QCOMPARE(Memo(), memo);

    boxes_->answers.push_back({ModalResult::Yes, {}});
    window_->B_StopClick();
    QMetaObject::invokeMethod(tools, "aboutToShow");
    QVERIFY(Find<QAction>("Importpoints1")->isEnabled());
}

QTEST_MAIN(ToolsMenuTest)
#include "ToolsMenuTest.moc"
