#pragma once

#include "FileDialogRoutine.h"

namespace tembrel {

// The file dialogs on screen: the platform's own where it has them.
class QtFileDialogRoutine final : public FileDialogRoutine {
public:
    QString SaveFileName(QWidget* owner, const QString& caption, const QString& suggested,
                         const QString& filter) override;
    QString OpenFileName(QWidget* owner, const QString& caption, const QString& folder,
                         const QString& filter) override;
};

} // namespace tembrel
