#pragma once

#include <QString>

class QWidget;

namespace tembrel {

// Abstract base class for the file dialogs of the Tools menu: the user picks
// a file to write or to read, or cancels (an empty result). Timer ticks go on
// while a dialog is open. The tests replace it with a scripted routine.
class FileDialogRoutine {
public:
    virtual ~FileDialogRoutine() = default;

    // suggested is the full path proposed; filter as QFileDialog takes it.
    virtual QString SaveFileName(QWidget* owner, const QString& caption, const QString& suggested,
                                 const QString& filter) = 0;
    virtual QString OpenFileName(QWidget* owner, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
};

} // namespace tembrel
