#include "ImportFileData.h"

#include "VoyageErrors.h"

#include <QFile>
#include <QFileInfo>

#include <vector>

namespace tembrel {

namespace {

[[noreturn]] void Unreadable(const QString& name, const QFile& file) {
    throw VoyageError("The file " + name.toStdString() +
                      " cannot be read: " + file.errorString().toStdString() + ".");
}

[[noreturn]] void TooLarge(const QString& name, long long maxBytes) {
    throw VoyageError("The file " + name.toStdString() + " is too large to import (more than " +
                      std::to_string(maxBytes / (1024 * 1024)) + " MB).");
}

} // namespace

bool ImportFileData::Read(const QString& path, long long maxBytes, const ImportProgress& progress,
                          const std::function<bool(std::string_view chunk)>& consume) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    // A pipe or device could keep open() or read() waiting for ever, and the
    // window waits for the read to end.
    if (info.exists() && !info.isFile()) {
        throw VoyageError("The file " + name.toStdString() +
                          " cannot be read: it is not a regular file.");
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Unreadable(name, file);
    }
    const long long total = file.isSequential() ? 0 : file.size();
    if (total > maxBytes) {
        TooLarge(name, maxBytes);
    }
    std::vector<char> chunk(static_cast<std::size_t>(ChunkBytes));
    long long done = 0;
    while (true) {
        if (progress.Cancelled()) {
            return false;
        }
        const qint64 got = file.read(chunk.data(), ChunkBytes);
        if (got < 0) {
            Unreadable(name, file);
        }
        if (got == 0) {
            return true;
        }
        done += got;
        // A file that grows while it is read, or a pipe, is cut off here.
        if (done > maxBytes) {
            TooLarge(name, maxBytes);
        }
        if (progress.report) {
            progress.report(done, total);
        }
        if (!consume(std::string_view(chunk.data(), static_cast<std::size_t>(got)))) {
            return true;
        }
    }
}

} // namespace tembrel
