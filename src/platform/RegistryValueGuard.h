#pragma once

#include <QString>

namespace tembrel {

// Whether the value `name` of the key `subKey` under HKEY_CURRENT_USER must
// not reach QSettings, which would read it through QDataStream
// (DataStreamGuard.h): a string (REG_SZ, REG_EXPAND_SZ, or REG_BINARY and
// REG_NONE, which Qt reads as text) or an element of a REG_MULTI_SZ that
// starts with "@Variant(" or "@DateTime(", or a value above
// MaxSettingsFileBytes, which is not read at all. A missing key or value is
// not refused. Callers count a refused value as one of another type with
// data. The value is read again by QSettings afterwards; only a program of
// the same user could change it in between, and that could do anything
// the user can. Windows only.
bool IsRefusedRegistryValue(const QString& subKey, const QString& name);

} // namespace tembrel
