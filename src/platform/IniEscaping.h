#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVariant>

#include <string_view>

namespace tembrel {

// The escaping of keys and values in the INI files that QSettings reads and
// writes, so that a file either side writes reads back the same on the other.

// The value of one "key=value" line (the bytes after '='), as QSettings reads
// it: a QString for a plain text, a QStringList or QVariantList for a list
// ("a, b"), and for the @-forms a QByteArray, a QRect, a QSize, a QPoint, an
// invalid QVariant (@Invalid()) or whatever an @Variant(...) holds.
QVariant ParseIniValue(QByteArrayView raw);

// A UTF-8 text in the form QSettings writes a QString, so that both QSettings
// and ParseIniValue give back exactly this text.
QByteArray FormatIniString(std::string_view text);

// A key as written in a file ("%XX", "%UXXXX" escapes, '\' for '/') and back.
QString UnescapeIniKey(QByteArrayView raw);
QByteArray EscapeIniKey(const QString& key);

} // namespace tembrel
