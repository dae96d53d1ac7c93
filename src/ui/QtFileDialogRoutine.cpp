#include "QtFileDialogRoutine.h"

#include <QFileDialog>

namespace tembrel {

QString QtFileDialogRoutine::SaveFileName(QWidget* owner, const QString& caption,
                                          const QString& suggested, const QString& filter) {
    return QFileDialog::getSaveFileName(owner, caption, suggested, filter);
}

QString QtFileDialogRoutine::OpenFileName(QWidget* owner, const QString& caption,
                                          const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(owner, caption, folder, filter);
}

} // namespace tembrel
