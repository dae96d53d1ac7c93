#pragma once

#include "FileDialogRoutine.h"
#include "VoyageEstimate.h"
#include "VoyageState.h"
#include "VoyageWindow.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace tembrel {

class ShellOpener;

// The commands of the Tools menu: the view file's folder, the Google Earth
// link, the voyage estimate,
// the coverage preview and the two imports. They read the window's inputs
// as the voyage does, ask through the window's message boxes and the file
// dialog routine, and change nothing of a voyage; the imports replace the
// memo's or the grid's contents, and only while no voyage is in progress.
class ToolCommands {
public:
    using GridRow = std::array<std::string, VoyageWindow::GridColumnCount>;

    // What the commands use of the main window.
    struct Context {
        VoyageWindow& window;
        const VoyageState& state;
        std::function<char()> decimalSeparator;
        std::filesystem::path viewFile; // where the voyage writes its views
        FileDialogRoutine& fileDialog;
        ShellOpener& shell;
        QWidget* owner = nullptr; // of the file dialogs
        std::function<void(const QStringList& lines)> setMemoLines;
        std::function<void(const std::vector<GridRow>& rows)> setGridRows;
    };

    explicit ToolCommands(Context context);

    void CreateGoogleEarthLink();
    // Opens the folder that holds the view file in the desktop's file
    // manager, as a file:// URL of its absolute path.
    void ShowViewFile();
    void ExportCoveragePreview();
    void ImportPoints();
    void ImportAreas();
    // untilNextTick: milliseconds to the voyage timer's next tick while it
    // runs, else -1; the time left then counts only that part of the period.
    void ShowEstimate(std::int64_t untilNextTick);
    QString EstimateText(std::int64_t untilNextTick) const;

    // The view file as an absolute path, as the link and the dialogs name it.
    std::filesystem::path AbsoluteViewFile() const;

    static QString ToQString(const std::filesystem::path& path);
    static std::filesystem::path ToPath(const QString& path);

private:
    // Writes a document where the user chooses; false when cancelled or
    // failed (the failure shown).
    bool SaveDocument(const QString& caption, const char* defaultName, const std::string& document,
                      QString& written);
    void Inform(const QString& text);
    void Refuse(const QString& text);

    Context context_;
};

} // namespace tembrel
