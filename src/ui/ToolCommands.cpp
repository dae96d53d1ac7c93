#include "ToolCommands.h"

#include "AreasFile.h"
#include "ArrivalRecord.h"
#include "BackgroundRead.h"
#include "CoveragePreview.h"
#include "GoogleEarthLinkFile.h"
#include "ImportReport.h"
#include "ImportedText.h"
#include "PointsFile.h"
#include "ShellOpener.h"
#include "ViewFileOutput.h"
#include "VoyageController.h"
#include "VoyageErrors.h"
#include "VoyageEstimator.h"
#include "VoyageReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QUrl>

#include <algorithm>
#include <system_error>

namespace tembrel {

namespace {

const QString KmlFilter = QStringLiteral("KML files (*.kml);;All files (*)");

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// The first bytes of a file about to be replaced: a link file is a few
// hundred. Only a plain file is read (a FIFO would never end).
std::string ReadStart(const QString& path) {
    constexpr qint64 Limit = 64 * 1024;
    if (!QFileInfo(path).isFile()) {
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.read(Limit).toStdString();
}

} // namespace

ToolCommands::ToolCommands(Context context) : context_(std::move(context)) {}

QString ToolCommands::ToQString(const std::filesystem::path& path) {
    // Qt's own form, "/" on every system: the backslash that Windows' path
    // type puts between parts would otherwise mix with a folder's "/".
    const std::u8string utf8 = path.u8string();
    return QDir::fromNativeSeparators(QString::fromUtf8(reinterpret_cast<const char*>(utf8.data()),
                                                        static_cast<qsizetype>(utf8.size())));
}

std::filesystem::path ToolCommands::ToPath(const QString& path) {
    const QByteArray utf8 = QDir::toNativeSeparators(path).toUtf8();
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.constData()),
                                               static_cast<std::size_t>(utf8.size())));
}

std::filesystem::path ToolCommands::AbsoluteViewFile() const {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(context_.viewFile, ignored);
    return absolute.empty() ? context_.viewFile : absolute;
}

void ToolCommands::Inform(const QString& text) {
    context_.messageBox.Show(context_.owner, text, BoxType::Information, ButtonOk);
}

void ToolCommands::Refuse(const QString& text) {
    context_.messageBox.Show(context_.owner, text, BoxType::Error, ButtonOk);
}

bool ToolCommands::Confirmed(const std::string& question) {
    return context_.messageBox.Show(context_.owner, Text(question), BoxType::Confirmation,
                                    ButtonYes | ButtonNo) == ModalResult::Yes;
}

bool ToolCommands::ImportsAllowed() const {
    return !context_.state.InProgress;
}

bool ToolCommands::SaveDocument(const QString& caption, const char* defaultName,
                                const std::string& document, QString& written,
                                const QString& filter, std::string* replaced) {
    const QString suggested =
        ToQString(AbsoluteViewFile().parent_path() / std::filesystem::path(defaultName));
    written = context_.fileDialog.SaveFileName(context_.owner, caption, suggested,
                                               filter.isEmpty() ? KmlFilter : filter);
    if (written.isEmpty()) {
        return false;
    }
    std::string previous;
    if (replaced != nullptr) {
        previous = ReadStart(written);
    }
    try {
        ViewFileOutput::Replace(ToPath(written), document);
    } catch (const VoyageError& e) {
        Refuse(QStringLiteral("%1 cannot be written: %2.")
                   .arg(QDir::toNativeSeparators(written), Text(e.what())));
        return false;
    }
    if (replaced != nullptr) {
        *replaced = std::move(previous);
    }
    return true;
}

std::optional<std::int32_t> ToolCommands::LinkRefreshSeconds() {
    try {
        return GoogleEarthLinkFile::RefreshSeconds(context_.inputs.EditText(InputEdit::E_VR));
    } catch (const VoyageError& e) {
        Refuse(Text(e.what()));
        return std::nullopt;
    }
}

void ToolCommands::CreateGoogleEarthLink() {
    const std::optional<std::int32_t> period = LinkRefreshSeconds();
    if (!period) {
        return;
    }
    const std::int32_t seconds = *period;
    const std::string document = GoogleEarthLinkFile::Render(AbsoluteViewFile(), seconds);
    QString written;
    if (!SaveDocument(QStringLiteral("Create Google Earth link"),
                      GoogleEarthLinkFile::DefaultFileName, document, written)) {
        return;
    }
    Inform(QStringLiteral("The Google Earth link has been written to %1.\n\n"
                          "Open it in Google Earth: it adds the network link to %2, refreshed "
                          "every %3 second(s) and flying to each view.")
               .arg(QDir::toNativeSeparators(written),
                    QDir::toNativeSeparators(ToQString(AbsoluteViewFile())))
               .arg(seconds));
}

void ToolCommands::CreateLiveGoogleEarthLink() {
    const std::uint16_t port = context_.livePort ? context_.livePort() : 0;
    const std::string path = context_.livePath ? context_.livePath() : std::string();
    if (port == 0 || path.empty()) {
        Refuse(
            QStringLiteral("The view server is not running: use the Google Earth link instead."));
        return;
    }
    const std::optional<std::int32_t> period = LinkRefreshSeconds();
    if (!period) {
        return;
    }
    const std::int32_t seconds = *period;
    const std::string document = GoogleEarthLinkFile::RenderLive(port, path, seconds);
    QString written;
    std::string replaced;
    if (!SaveDocument(QStringLiteral("Create live Google Earth link"),
                      GoogleEarthLinkFile::LiveFileName, document, written, {}, &replaced)) {
        return;
    }
    QString text = QStringLiteral("The live Google Earth link has been written to %1.\n\n")
                       .arg(QDir::toNativeSeparators(written));
    if (GoogleEarthLinkFile::IsOutdatedLiveLink(replaced)) {
        // Google Earth keeps the link it was given, not the file: the old
        // one goes on fetching without a camera until it is removed.
        text += QStringLiteral(
            "It replaces a live link of an earlier Tembrel, through which Google Earth sends no "
            "camera. Delete that old link from Google Earth's Places, then open this file.\n\n");
    }
    text += QStringLiteral("Open it in Google Earth while Tembrel runs: it fetches each view from "
                           "Tembrel's view server on port %1 every %2 second(s), and tells "
                           "Tembrel where its camera is; the light right of the gauge shows "
                           "whether it follows.")
                .arg(port)
                .arg(seconds);
    Inform(text);
}

void ToolCommands::ShowVoyageReport() {
    const ArrivalRecord* record = context_.arrivals;
    if (record == nullptr || record->Views().empty()) {
        Inform(QStringLiteral("No voyage has written a view since Tembrel started."));
        return;
    }
    const std::size_t reached = record->ReachedCount();
    const std::size_t missed = record->MissedCount();
    QString text = QStringLiteral("Google Earth's camera reached %1 of the %2 centres written "
                                  "(missed: %3).")
                       .arg(reached)
                       .arg(record->Views().size())
                       .arg(missed);
    if (record->Dropped() > 0) {
        text += QStringLiteral("\n\nOnly the first %1 views are recorded; %2 more were written.")
                    .arg(ArrivalRecord::MaxViews)
                    .arg(record->Dropped());
    }
    if (reached == 0) {
        text += QStringLiteral("\n\nTembrel learns where the camera is only through the live link "
                               "(Tools, Create live Google Earth link...).");
    }
    text += QStringLiteral("\n\nExport the missed centres as points and the boxes Google Earth "
                           "reported as KML?");
    if (!Confirmed(text.toStdString())) {
        return;
    }
    QStringList written;
    QString file;
    if (missed > 0 &&
        SaveDocument(QStringLiteral("Export missed centres"), VoyageReport::MissedFileName,
                     VoyageReport::MissedPoints(record->Views()), file,
                     QStringLiteral("CSV files (*.csv);;All files (*)"))) {
        written << QDir::toNativeSeparators(file);
    }
    if (reached > 0 &&
        SaveDocument(QStringLiteral("Export reported boxes"), VoyageReport::BoxesFileName,
                     VoyageReport::ReportedBoxes(record->Views()), file)) {
        written << QDir::toNativeSeparators(file);
    }
    if (!written.isEmpty()) {
        Inform(QStringLiteral("Written: %1.\n\nImport points... reads the missed centres; the "
                              "boxes open in Google Earth beside the coverage preview.")
                   .arg(written.join(QStringLiteral(", "))));
    }
}

void ToolCommands::ShowViewFile() {
    // A URL of an absolute folder: no option or web address can reach the
    // shell this way, whatever the folder is called.
    const QString folder = ToQString(AbsoluteViewFile().parent_path());
    const QUrl url = QUrl::fromLocalFile(folder);
    if (!QDir::isAbsolutePath(folder) ||
        !context_.shell.Open(url.toString(QUrl::FullyEncoded).toStdString())) {
        Refuse(QStringLiteral("Error while attempting to open the view file's folder.\n\n"
                              "Open it yourself: %1")
                   .arg(QDir::toNativeSeparators(folder)));
    }
}

void ToolCommands::ExportCoveragePreview() {
    std::string document;
    try {
        document =
            CoveragePreview(context_.inputs, context_.timer, context_.engine.DecimalSeparator())
                .Render(context_.state.ItemNo);
    } catch (const VoyageError& e) {
        Refuse(Text(e.what()));
        return;
    }
    QString written;
    if (!SaveDocument(QStringLiteral("Export coverage preview"), CoveragePreview::DefaultFileName,
                      document, written)) {
        return;
    }
    Inform(QStringLiteral("The coverage preview has been written to %1.\n\n"
                          "Open it in Google Earth: the areas are outlined in yellow, the "
                          "snapshots the voyage will visit are green, and the strips it leaves "
                          "out are red.")
               .arg(QDir::toNativeSeparators(written)));
}

QString ToolCommands::EstimateText(std::int64_t untilNextTick) const {
    const VoyageState& state = context_.state;
    const VoyageEstimator estimator(context_.inputs, context_.timer,
                                    context_.engine.DecimalSeparator());
    VoyageEstimate estimate =
        state.InProgress ? estimator.TimeLeft(state) : estimator.BeforeStart(state.ItemNo);
    if (state.InProgress && !state.Paused && untilNextTick >= 0 &&
        estimate.outcome == VoyageEstimate::Outcome::Ends) {
        // The next tick comes sooner than a whole period from now.
        const std::int64_t waited = context_.timer.Interval() - untilNextTick;
        estimate.milliseconds = std::max<std::int64_t>(estimate.milliseconds - waited, 0);
    }
    return Text(DescribeEstimate(estimate, state.InProgress));
}

void ToolCommands::ShowEstimate(std::int64_t untilNextTick) {
    Inform(EstimateText(untilNextTick) +
           QStringLiteral("\n\nThe view file is %1.")
               .arg(QDir::toNativeSeparators(ToQString(AbsoluteViewFile()))));
}

template <typename Import, typename Item>
std::optional<std::vector<Item>>
ToolCommands::ReadImport(const QString& caption, const QString& filter,
                         Import (*read)(const QString&, const ImportProgress&),
                         std::vector<Item> Import::*items, const char* one, const char* many) {
    if (!ImportsAllowed()) {
        return std::nullopt;
    }
    const QString path = context_.fileDialog.OpenFileName(
        context_.owner, caption, ToQString(AbsoluteViewFile().parent_path()), filter);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    Import result;
    try {
        result = BackgroundRead<Import>(
            context_.owner, QFileInfo(path).fileName(),
            [&path, read](const ImportProgress& progress) { return read(path, progress); });
    } catch (const VoyageError& e) {
        Refuse(Text(e.what()));
        return std::nullopt;
    }
    if (result.cancelled) {
        return std::nullopt;
    }
    if ((result.*items).empty()) {
        // A file of points may hold other shapes instead: say which.
        OtherShapes shapes;
        if constexpr (requires { result.shapes; }) {
            shapes = result.shapes;
        }
        Refuse(Text(
            ImportReport::NothingFound(result.problems, many, result.problemsLeftOut, shapes)));
        return std::nullopt;
    }
    if (!result.problems.empty() &&
        !Confirmed(ImportReport::Question(result.problems, (result.*items).size(), one, many,
                                          result.problemsLeftOut))) {
        return std::nullopt;
    }
    return std::move(result.*items);
}

void ToolCommands::ImportPoints() {
    const std::optional<std::vector<ImportedPoint>> points =
        ReadImport(QStringLiteral("Import points"),
                   QStringLiteral("Point files (*.csv *.txt *.gpx *.kml);;All files (*)"),
                   &PointsFile::Read, &PointsImport::points, "point", "points");
    if (!points) {
        return;
    }
    const char separator = context_.engine.DecimalSeparator();
    QStringList lines;
    for (const ImportedPoint& point : *points) {
        lines << Text(ImportedText::MemoLine(point, separator));
    }
    context_.memo.setPlainText(lines.join(QLatin1Char('\n')));
}

void ToolCommands::ImportAreas() {
    const std::optional<std::vector<ImportedArea>> areas = ReadImport(
        QStringLiteral("Import areas"), QStringLiteral("Area files (*.csv *.txt);;All files (*)"),
        &AreasFile::Read, &AreasImport::areas, "area", "areas");
    if (!areas) {
        return;
    }
    const char separator = context_.engine.DecimalSeparator();
    std::vector<GridRow> rows;
    for (const ImportedArea& area : *areas) {
        rows.push_back(ImportedText::GridRow(area, separator));
    }
    FillGrid(rows);
}

void ToolCommands::FillGrid(const std::vector<GridRow>& rows) {
    QTableWidget& grid = context_.grid;
    for (int row = 0; row < VoyageInputs::GridRowCount; ++row) {
        for (int column = 0; column < VoyageInputs::GridColumnCount; ++column) {
            const std::size_t index = static_cast<std::size_t>(row);
            const QString text = index < rows.size()
                                     ? Text(rows[index][static_cast<std::size_t>(column)])
                                     : QString();
            if (QTableWidgetItem* item = grid.item(row, column)) {
                item->setText(text);
            } else if (!text.isEmpty()) {
                grid.setItem(row, column, new QTableWidgetItem(text));
            }
        }
    }
}

} // namespace tembrel
