#pragma once

#include <QByteArray>
#include <QString>

namespace tembrel {

// The whole content of a file to import, at most maxBytes long. Throws
// VoyageError with a message for the user when it cannot be read or is
// longer.
QByteArray ImportFileData(const QString& path, long long maxBytes);

} // namespace tembrel
