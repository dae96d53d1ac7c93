#include "ImportFileData.h"

#include "VoyageErrors.h"

#include <QFile>
#include <QFileInfo>

namespace tembrel {

QByteArray ImportFileData(const QString& path, long long maxBytes) {
    const std::string name = QFileInfo(path).fileName().toStdString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw VoyageError("The file " + name +
                          " cannot be read: " + file.errorString().toStdString() + ".");
    }
    // One byte more than allowed tells a file that is too long.
    QByteArray data = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        throw VoyageError("The file " + name +
                          " cannot be read: " + file.errorString().toStdString() + ".");
    }
    if (data.size() > maxBytes) {
        throw VoyageError("The file " + name + " is too large to import (more than " +
                          std::to_string(maxBytes / (1024 * 1024)) + " MB).");
    }
    return data;
}

} // namespace tembrel
