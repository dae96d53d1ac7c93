#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

namespace tembrel {

// QSettings reads a stored text that starts with "@Variant(" or "@DateTime("
// as a QVariant through QDataStream, trusting the lengths inside it: a few
// crafted bytes make it ask for gigabytes. Nothing of ours is stored that way
// (QSettings writes a text starting with '@' as "@@..."), so such values are
// refused before QSettings sees them, and counted as values of another type
// with data.

// Whether QSettings would hand this text (one value, or one element of a
// list) to QDataStream. The closing ')' that Qt also asks for is not looked
// at: refusing a little more is harmless.
bool IsDataStreamText(QStringView text);

// Whether QSettings would hand any element of this raw INI value (the bytes
// after '=') to QDataStream, by Qt 6.4's own unescaping: escapes, quotes,
// list commas and its stateful UTF-8 decoding (which drops a byte order mark
// at the start of the value's first piece of plain text).
bool HoldsDataStreamText(QByteArrayView iniValue);

// The INI file with every such value of its top-level section replaced by
// "@Rect(0 0 0 0)", which QSettings reads as a value of another type with
// data without QDataStream. Only that section is replaced, because QSettings
// parses only it when asked for a key without a '/'; all else is unchanged,
// so QSettings still splits lines, sections and keys itself.
QByteArray WithoutDataStreamValues(QByteArrayView ini);

} // namespace tembrel
