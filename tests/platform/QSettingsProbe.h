#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace tembrel::test {

// What Qt's own QSettings makes of some INI bytes: the value of `key`. Each
// call reads a file of its own, so QSettings' per-process cache of files it
// has read never answers for another call.
QVariant QSettingsValue(const QByteArray& file, const QString& key);

// Same type and same value.
bool SameVariant(const QVariant& a, const QVariant& b);

} // namespace tembrel::test
