#include "RegistryValueGuard.h"

#include "DataStreamGuard.h"
#include "StoredText.h"

#include <QStringView>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <vector>

namespace tembrel {

namespace {

const wchar_t* Wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

// The text up to its first NUL, as Qt reads REG_SZ and each REG_MULTI_SZ part.
QStringView UpToNul(QStringView text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.first(nul);
}

bool IsRefusedData(DWORD type, QStringView data) {
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
        return IsDataStreamText(UpToNul(data));
    case REG_MULTI_SZ:
        // Qt reads the parts up to the first empty one.
        for (QStringView rest = data; !rest.isEmpty();) {
            const QStringView part = UpToNul(rest);
            if (part.isEmpty()) {
                break;
            }
            if (IsDataStreamText(part)) {
                return true;
            }
            rest = rest.sliced(std::min(part.size() + 1, rest.size()));
        }
        return false;
    case REG_NONE:
    case REG_BINARY:
        return IsDataStreamText(data);
    default:
        return false;
    }
}

} // namespace

bool IsRefusedRegistryValue(const QString& subKey, const QString& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(subKey), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    DWORD type = REG_NONE;
    DWORD size = 0;
    bool refused = false;
    if (RegQueryValueExW(key, Wide(name), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        refused = true;
        if (size <= MaxSettingsFileBytes) {
            std::vector<char16_t> data((size + 1) / 2, u'\0');
            DWORD read = size;
            // A value that has grown since is refused as well.
            refused =
                RegQueryValueExW(key, Wide(name), nullptr, &type,
                                 reinterpret_cast<BYTE*>(data.data()), &read) != ERROR_SUCCESS ||
                IsRefusedData(type, QStringView(data.data(), read / 2));
        }
    }
    RegCloseKey(key);
    return refused;
}

} // namespace tembrel
