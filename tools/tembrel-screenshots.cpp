// Writes pictures of Tembrel's windows into a folder, for a look at the layout
// without a desktop (run it with QT_QPA_PLATFORM=offscreen):
//   tembrel-screenshots FOLDER
// The main window is taken on each of its pages, then during a paused
// Multiple Areas voyage (label, gauge and locked inputs showing). It runs
// against stand-ins: nothing is read from or written to the user's settings,
// and the view file goes to a temporary folder.
// The Tools menu is taken open, with the estimate's tooltip and box, the
// boxes of its commands, a drawing of the coverage preview it writes, and
// the window after each import.

#include "FakeCacheFolderCommand.h"
#include "FakeSettingsStore.h"
#include "FileDialogRoutine.h"
#include "MessageBoxRoutine.h"
#include "QtMessageBoxRoutine.h"
#include "RecordingShellOpener.h"
#include "TF_About.h"
#include "TF_Help.h"
#include "TF_Main.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QXmlStreamReader>
#ifdef TEMBREL_LIVE_SERVER
#include <QEventLoop>
#include <QTcpSocket>
#endif

#include <deque>
#include <utility>

#include <clocale>
#include <cstdio>

using namespace tembrel;

namespace {

// Any box would stop a picture run: every question is answered No, and any
// message is printed instead of shown.
class PrintedBoxes final : public MessageBoxRoutine {
public:
    ModalResult Show(QWidget*, const QString& text, BoxType, unsigned) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return ModalResult::No;
    }
    void ShowDefaultError(QWidget*, const QString&, const QString& text) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
};

bool Save(QWidget& window, const QDir& folder, const char* name);

// The Tools menu's dialogs answer from a list: the files to write or read.
class ListedFiles final : public FileDialogRoutine {
public:
    std::deque<QString> answers;
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return Next();
    }
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return Next();
    }

private:
    QString Next() {
        QString next = answers.empty() ? QString() : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return next;
    }
};

// The real message boxes, each taken once it is up and then answered with
// its Yes or OK button; a box with no picture name is printed instead.
class PicturedBoxes final : public MessageBoxRoutine {
public:
    explicit PicturedBoxes(const QDir& folder) : folder_(folder) {}

    QByteArray nextPicture; // the file name of the next box's picture
    bool saved = true;

    ModalResult Show(QWidget* owner, const QString& text, BoxType type, unsigned buttons) override {
        if (nextPicture.isEmpty()) {
            std::fprintf(stderr, "message: %s\n", qPrintable(text));
            return ModalResult::No;
        }
        const QByteArray name = std::exchange(nextPicture, {});
        QTimer::singleShot(0, owner, [this, name] {
            QWidget* box = QApplication::activeModalWidget();
            if (box == nullptr) {
                saved = false;
                return;
            }
            saved &= Save(*box, folder_, name.constData());
            for (QPushButton* button : box->findChildren<QPushButton*>()) {
                if (button->text() == QStringLiteral("&Yes") ||
                    button->text() == QStringLiteral("OK")) {
                    button->click();
                    return;
                }
            }
        });
        return boxes_.Show(owner, text, type, buttons);
    }
    void ShowDefaultError(QWidget*, const QString&, const QString& text) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
        saved = false;
    }

private:
    QDir folder_;
    QtMessageBoxRoutine boxes_;
};

bool Save(QWidget& window, const QDir& folder, const char* name) {
    QApplication::processEvents();
    const QString path = folder.filePath(QLatin1String(name));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

template <class T> T* Child(QWidget& window, const char* name) {
    return window.findChild<T*>(QLatin1String(name));
}

// The help example, so that the edits show typical texts.
void TypeHelpExample(QWidget& window) {
    const char* texts[][2] = {{"E_LatD", "48.86"}, {"E_LonD", "2.2877"}, {"E_VE", "1"},
                              {"E_VS", "0.4"},     {"E_VEast", "0.3"},   {"E_VSouth", "0.2"},
                              {"E_VA", "250"},     {"E_VR", "10"}};
    for (const auto& [name, text] : texts) {
        if (auto* edit = Child<QLineEdit>(window, name)) {
            edit->setText(QLatin1String(text));
        }
    }
}

bool MainWindowPictures(const QDir& folder) {
    QTemporaryDir viewFolder;
    test::FakeSettingsStore settings;
    test::RecordingShellOpener shell;
    test::FakeCacheFolderCommand cacheFolder;
    PrintedBoxes boxes;
    TF_Main window({.settings = settings,
                    .shell = shell,
                    .cacheFolder = cacheFolder,
                    .messageBox = boxes,
                    .viewFileDirectory = viewFolder.path().toStdString(),
                    .decimalSeparator = [] { return '.'; }});
    window.show();
    auto* pages = Child<QTabWidget>(window, "PC_Main");
    if (pages == nullptr) {
        return false;
    }

    TypeHelpExample(window);

    bool saved = true;
    pages->setCurrentIndex(0);
    saved &= Save(window, folder, "main-area.png");
    pages->setCurrentIndex(1);
    saved &= Save(window, folder, "main-multiple-areas.png");
    pages->setCurrentIndex(2);
    saved &= Save(window, folder, "main-points.png");

    // Three snapshots into the first area of the grid, then paused.
    pages->setCurrentIndex(1);
    window.B_StartClick();
    for (int tick = 0; tick < 3 && window.Timer().Enabled(); ++tick) {
        window.T_TimerTimer();
    }
    window.B_PauseClick();
    saved &= Save(window, folder, "main-paused.png");
    return saved;
}

// Google Earth's fetch over the live link, its camera at the view it was
// handed before: the light beside the gauge turns to "following".
void FetchAsGoogleEarth(TF_Main& window, double lon, double lat) {
#ifdef TEMBREL_LIVE_SERVER
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, window.ViewServerPort());
    client.write(QStringLiteral("GET %7?lon=%1&lat=%2&range=250&tilt=0&heading=0"
                                "&bbox=%3,%4,%5,%6&w=1000&h=700 HTTP/1.1\r\nHost: 127.0.0.1:%8"
                                "\r\n\r\n")
                     .arg(lon)
                     .arg(lat)
                     .arg(lon - 0.002)
                     .arg(lat - 0.001)
                     .arg(lon + 0.002)
                     .arg(lat + 0.001)
                     .arg(QString::fromStdString(window.ViewServerPath()))
                     .arg(window.ViewServerPort())
                     .toLatin1());
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QByteArray received;
    QObject::connect(&client, &QTcpSocket::readyRead, &loop, [&] {
        received += client.readAll();
        if (received.endsWith("</kml>\r\n")) {
            loop.quit();
        }
    });
    limit.start(3000);
    loop.exec();
#else
    (void)window;
    (void)lon;
    (void)lat;
#endif
}

// The window with a popup of its own (a menu, a tooltip) drawn over it where
// the popup stands: offscreen, each is a window of its own.
bool SaveWithPopup(QWidget& window, QWidget& popup, const QDir& folder, const char* name) {
    QApplication::processEvents();
    const QPoint offset = popup.mapToGlobal(QPoint(0, 0)) - window.mapToGlobal(QPoint(0, 0));
    const QRect bounds = QRect(QPoint(0, 0), window.size()).united(QRect(offset, popup.size()));
    QPixmap picture(bounds.size());
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawPixmap(-bounds.topLeft(), window.grab());
    painter.drawPixmap(offset - bounds.topLeft(), popup.grab());
    painter.end();
    const QString path = folder.filePath(QLatin1String(name));
    if (!picture.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// A drawing of one folder of a coverage preview document (an area, say) on
// the flat scale (a km as long in both directions): areas outlined,
// snapshots and uncovered strips filled in the document's own colours.
bool DrawCoveragePreview(const QString& document, const char* part, const QDir& folder,
                         const char* name) {
    struct Shape {
        QString style;
        QPolygonF ring;
    };
    std::vector<Shape> shapes;
    QXmlStreamReader xml(QFile::exists(document) ? [&] {
        QFile file(document);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }()
                                                 : QByteArray());
    QString style;
    bool inPart = false;
    bool inPlacemark = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("Placemark")) {
            inPlacemark = false;
        }
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == QLatin1String("Placemark")) {
            style.clear();
            inPlacemark = true;
        } else if (xml.name() == QLatin1String("name") && !inPlacemark) {
            inPart = xml.readElementText() == QLatin1String(part);
        } else if (!inPart) {
            continue;
        } else if (xml.name() == QLatin1String("styleUrl")) {
            style = xml.readElementText();
        } else if (xml.name() == QLatin1String("coordinates")) {
            QPolygonF ring;
            for (const QString& tuple :
                 xml.readElementText().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const QStringList parts = tuple.split(QLatin1Char(','));
                // km east and km north of the meridian and the equator
                ring << QPointF(parts.value(0).toDouble() * 3600 / 37,
                                -parts.value(1).toDouble() * 3600 / 32);
            }
            shapes.push_back({style, ring});
        }
    }
    if (xml.hasError() || shapes.empty()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(document));
        return false;
    }
    QRectF bounds = shapes.front().ring.boundingRect();
    for (const Shape& shape : shapes) {
        bounds = bounds.united(shape.ring.boundingRect());
    }
    const double scale = 760 / std::max(bounds.width(), bounds.height());
    QImage image(QSize(static_cast<int>(bounds.width() * scale) + 40,
                       static_cast<int>(bounds.height() * scale) + 40),
                 QImage::Format_RGB32);
    image.fill(QColor(40, 40, 40));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(20, 20);
    painter.scale(scale, scale);
    painter.translate(-bounds.topLeft());
    const std::pair<const char*, QColor> fills[] = {{"#snapshot", QColor(0, 255, 0, 80)},
                                                    {"#uncovered", QColor(255, 0, 0, 128)}};
    for (const Shape& shape : shapes) {
        QPen pen(Qt::yellow, 2 / scale);
        QBrush brush(Qt::NoBrush);
        for (const auto& [id, colour] : fills) {
            if (shape.style == QLatin1String(id)) {
                pen = QPen(colour.darker(150), 1 / scale);
                brush = QBrush(colour);
            }
        }
        painter.setPen(pen);
        painter.setBrush(brush);
        if (shape.ring.size() == 1) {
            painter.drawEllipse(shape.ring.front(), 4 / scale, 4 / scale);
        } else {
            painter.drawPolygon(shape.ring);
        }
    }
    painter.end();
    const QString path = folder.filePath(QLatin1String(name));
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

void WriteText(const QString& path, const char* text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(text);
    }
}

bool ToolsPictures(const QDir& folder) {
    QTemporaryDir work;
    test::FakeSettingsStore settings;
    test::RecordingShellOpener shell;
    test::FakeCacheFolderCommand cacheFolder;
    PicturedBoxes boxes(folder);
    ListedFiles files;
    TF_Main window({.settings = settings,
                    .shell = shell,
                    .cacheFolder = cacheFolder,
                    .messageBox = boxes,
                    .viewFileDirectory = work.path().toStdString(),
                    .decimalSeparator = [] { return '.'; },
                    .fileDialog = &files});
    window.show();
    auto* pages = Child<QTabWidget>(window, "PC_Main");
    auto* tools = Child<QMenu>(window, "Tools1");
    auto* gauge = Child<QWidget>(window, "GA_Progress");
    if (pages == nullptr || tools == nullptr || gauge == nullptr) {
        return false;
    }
    TypeHelpExample(window);
    const auto trigger = [&](const char* action) {
        if (auto* item = Child<QAction>(window, action)) {
            item->trigger();
        } else {
            boxes.saved = false;
        }
    };

    bool saved = true;
    QMenuBar* bar = window.menuBar();
    tools->popup(bar->mapToGlobal(bar->actionGeometry(tools->menuAction()).bottomLeft()));
    saved &= SaveWithPopup(window, *tools, folder, "tools-menu.png");
    tools->hide();

    // Hovered as by the mouse: the window works the tip out as it shows.
    QHelpEvent hover(QEvent::ToolTip, QPoint(40, 10), gauge->mapToGlobal(QPoint(40, 10)));
    QCoreApplication::sendEvent(gauge, &hover);
    QApplication::processEvents();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->inherits("QTipLabel") && top->isVisible()) {
            saved &= SaveWithPopup(window, *top, folder, "tools-estimate-tooltip.png");
        }
    }
    boxes.nextPicture = "tools-estimate-box.png";
    trigger("Voyageestimate1");

    files.answers.push_back(work.filePath(QStringLiteral("TembrelLink.kml")));
    boxes.nextPicture = "tools-link-written.png";
    trigger("CreateGoogleEarthlink1");

    files.answers.push_back(work.filePath(QStringLiteral("TembrelLiveLink.kml")));
    boxes.nextPicture = "tools-live-link-written.png";
    trigger("CreateliveGoogleEarthlink1");

    const QString preview = work.filePath(QStringLiteral("TembrelCoverage.kml"));
    files.answers.push_back(preview);
    boxes.nextPicture = "tools-preview-written.png";
    trigger("Exportcoveragepreview1");
    saved &= DrawCoveragePreview(preview, "Area", folder, "tools-preview-area.png");
    pages->setCurrentIndex(1);
    files.answers.push_back(preview);
    boxes.nextPicture = "tools-preview-written-areas.png";
    trigger("Exportcoveragepreview1");
    saved &= DrawCoveragePreview(preview, "Area 1", folder, "tools-preview-areas-1.png");
    saved &= DrawCoveragePreview(preview, "Area 2", folder, "tools-preview-areas-2.png");

    const QString points = work.filePath(QStringLiteral("points.csv"));
    WriteText(points, "name;latitude;longitude\nCairo;30,0444;31,2357\nGiza;29,9792;31,1342\n"
                      "Nowhere;north;east\nAlexandria;31,2001;29,9187\nPole;95;0\n");
    pages->setCurrentIndex(2);
    files.answers.push_back(points);
    boxes.nextPicture = "tools-import-question.png";
    trigger("Importpoints1");
    saved &= Save(window, folder, "tools-imported-points.png");

    const QString areas = work.filePath(QStringLiteral("areas.csv"));
    WriteText(areas, "latitude,longitude,width,height\n48.86,2.2877,1,0.4\n30.124555,31.254447,"
                     "2.5,0.54\n31.55125,29.79862,1.2,9.4\n");
    pages->setCurrentIndex(1);
    files.answers.push_back(areas);
    trigger("Importareas1");
    saved &= Save(window, folder, "tools-imported-areas.png");

    // Time left during a voyage, two views in.
    pages->setCurrentIndex(0);
    window.B_StartClick();
    window.T_TimerTimer();
    FetchAsGoogleEarth(window, 2.2877, 48.86);
    window.T_TimerTimer();
    QHelpEvent hoverAgain(QEvent::ToolTip, QPoint(40, 10), gauge->mapToGlobal(QPoint(40, 10)));
    QCoreApplication::sendEvent(gauge, &hoverAgain);
    QApplication::processEvents();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->inherits("QTipLabel") && top->isVisible()) {
            saved &= SaveWithPopup(window, *top, folder, "tools-time-left-tooltip.png");
        }
    }
    QToolTip::hideText();
    window.B_PauseClick();
    return saved && boxes.saved;
}

// The help window on each of its pages, and the about window.
bool HelpAndAboutPictures(const QDir& folder) {
    bool saved = true;
    TF_Help help(nullptr);
    help.show();
    if (auto* pages = Child<QTabWidget>(help, "PageControl1")) {
        const char* names[] = {"help-introduction.png", "help-quick-start.png", "help-example.png"};
        for (int page = 0; page < 3; ++page) {
            pages->setCurrentIndex(page);
            saved &= Save(help, folder, names[page]);
        }
    } else {
        saved = false;
    }
    help.close();

    test::RecordingShellOpener shell;
    TF_About about(shell, nullptr);
    about.show();
    saved &= Save(about, folder, "about.png");
    about.close();
    return saved;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: tembrel-screenshots FOLDER\n");
        return 2;
    }
    const QDir folder(arguments[1]);
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    const bool mainSaved = MainWindowPictures(folder) && ToolsPictures(folder);
    const bool helpAndAboutSaved = HelpAndAboutPictures(folder);
    return mainSaved && helpAndAboutSaved ? 0 : 1;
}
