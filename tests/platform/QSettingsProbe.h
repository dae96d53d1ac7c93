#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <string>

namespace tembrel::test {

// What Qt's own QSettings makes of some INI bytes: the value of `key`. Each
// call reads a file of its own, so QSettings' per-process cache of files it
// has read never answers for another call.
QVariant QSettingsValue(const QByteArray& file, const QString& key);

// The INI bytes QSettings writes for one string value under [General].
QByteArray QSettingsFileWith(const QString& key, const QString& text);

// A readable account of a value, type included, for failure messages.
std::string Describe(const QVariant& value);

// Same type and same value.
bool SameVariant(const QVariant& a, const QVariant& b);

} // namespace tembrel::test
