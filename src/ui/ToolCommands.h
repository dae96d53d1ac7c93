#pragma once

#include "FileDialogRoutine.h"
#include "MessageBoxRoutine.h"
#include "TimerModel.h"
#include "VoyageEstimate.h"
#include "VoyageInputs.h"
#include "VoyageState.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPlainTextEdit;
class QTableWidget;
class QWidget;

namespace tembrel {

struct ImportProgress;

class ArrivalRecord;
class ShellOpener;
class VoyageController;

// The commands of the Tools menu: the view file's folder, the Google Earth
// link, the voyage estimate, the coverage preview and the two imports. They
// read the window's inputs and the voyage timer as the voyage does, ask
// through the message box and file dialog routines, and change nothing of a
// voyage; the imports replace the memo's or the grid's contents, and only
// while no voyage is in progress. The main window only wires its menu to them.
class ToolCommands {
public:
    using GridRow = std::array<std::string, VoyageInputs::GridColumnCount>;

    // What the commands read and what they use; they call nothing back.
    struct Context {
        const VoyageInputs& inputs; // the texts, grid, memo and page it reads
        const TimerModel& timer;    // for the voyage's period
        const VoyageState& state;
        const VoyageController& engine; // for its decimal separator
        std::filesystem::path viewFile; // where the voyage writes its views
        FileDialogRoutine& fileDialog;
        MessageBoxRoutine& messageBox;
        ShellOpener& shell;
        QWidget* owner = nullptr; // of the boxes and the file dialogs
        QPlainTextEdit& memo;     // the imports fill these two
        QTableWidget& grid;
        // The view server's port, 0 when it is not serving.
        std::function<std::uint16_t()> livePort;
        // The view's path on the server, with its secret.
        std::function<std::string()> livePath;
        // Which views of the last voyage Google Earth reached; none: not kept.
        const ArrivalRecord* arrivals = nullptr;
    };

    explicit ToolCommands(Context context);

    void CreateGoogleEarthLink();
    // The same link fetched over HTTP from the view server, which then
    // learns from each fetch where Google Earth's camera is.
    void CreateLiveGoogleEarthLink();
    // Opens the folder that holds the view file in the desktop's file
    // manager, as a file:// URL of its absolute path.
    void ShowViewFile();
    void ExportCoveragePreview();
    // How many centres of the last voyage Google Earth's camera reached, and
    // on request the missed ones as points and the boxes it saw as KML.
    void ShowVoyageReport();
    void ImportPoints();
    void ImportAreas();
    // untilNextTick: milliseconds to the voyage timer's next tick while it
    // runs, else -1; the time left then counts only that part of the period.
    void ShowEstimate(std::int64_t untilNextTick);
    QString EstimateText(std::int64_t untilNextTick) const;
    // The memo and the grid are locked during a voyage: so are their imports.
    bool ImportsAllowed() const;

    // The view file as an absolute path, as the link and the dialogs name it.
    std::filesystem::path AbsoluteViewFile() const;

    static QString ToQString(const std::filesystem::path& path);
    static std::filesystem::path ToPath(const QString& path);

private:
    // Writes a document where the user chooses; false when cancelled or
    // failed (the failure shown). `replaced`, when given, receives the first
    // bytes of the file the document replaced (nothing when there was none).
    bool SaveDocument(const QString& caption, const char* defaultName, const std::string& document,
                      QString& written, const QString& filter = {},
                      std::string* replaced = nullptr);
    void Inform(const QString& text);
    void Refuse(const QString& text);
    bool Confirmed(const std::string& question);
    void FillGrid(const std::vector<GridRow>& rows);
    // Refresh Every as the links' period; empty when it is refused (then said so).
    std::optional<std::int32_t> LinkRefreshSeconds();
    // An import's shared steps: the file dialog, the read under a progress
    // dialog, and the user's word on any problems. Empty when the user
    // cancels, or when nothing usable was read (then said so).
    template <typename Import, typename Item>
    std::optional<std::vector<Item>>
    ReadImport(const QString& caption, const QString& filter,
               Import (*read)(const QString&, const ImportProgress&),
               std::vector<Item> Import::*items, const char* one, const char* many);

    Context context_;
};

} // namespace tembrel
