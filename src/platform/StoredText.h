#pragma once

#include "SettingsStore.h"

#include <QString>
#include <QVariant>

#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>

class QSettings;
class QTemporaryFile;

namespace tembrel {

// Settings files from elsewhere are read only when they are regular files of
// at most this size, so a FIFO or a huge file cannot stall or swamp the
// program (ours holds a few hundred bytes).
inline constexpr qint64 MaxSettingsFileBytes = 4 * 1024 * 1024;

// The INI file at `path`, read once, with the values that QSettings would
// decode through QDataStream refused (DataStreamGuard.h), in a private
// temporary file for QSettings to read: QSettings then reads exactly the
// bytes that were checked, whatever happens to the file meanwhile. nullptr
// when the file is not a regular file of bounded size, cannot be read, or the
// copy cannot be written.
std::unique_ptr<QTemporaryFile> CheckedSettingsCopy(const QString& path);

// The text of one stored value as QSettings reads it: a string up to its
// first NUL; an empty text for a missing value or one of another type without
// data (@Invalid(), an empty list or byte array); nullopt for a value of
// another type with data (a number, a list, a byte array, a rectangle...).
std::optional<QString> StoredText(const QVariant& value);

// The eight texts of the top level of `settings` by the rule above, in the
// fixed order; the first value of another type with data ends the restore.
// A value for which `refused` (when given) holds counts as one, unread.
EditTexts RestoreEditTexts(const QSettings& settings,
                           const std::function<bool(const QString& name)>& refused = {});

// Whether `settings` holds exactly these eight texts as strings.
bool HoldsEditTexts(const QSettings& settings, const EditTexts& texts);

} // namespace tembrel
