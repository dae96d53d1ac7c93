#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVariant>

#include <cstddef>
#include <string_view>
#include <vector>

namespace tembrel {

// The [General] section of an INI file in the form QSettings reads and writes
// (keys before any section header belong to it too), with its keys in file
// order. Values are read as QSettings reads them. Setting a text and writing
// the file back keeps every other key and section as it was written.
class IniGeneralSection {
public:
    static IniGeneralSection Parse(QByteArrayView file);

    bool Contains(const QString& key) const;
    // The value as QSettings reads it; invalid when the key is missing.
    QVariant Value(const QString& key) const;
    void SetString(const QString& key, std::string_view text);

    // The whole file: [General] first, then the other sections as they were.
    QByteArray Serialize() const;

private:
    struct Entry {
        QString key;
        QByteArray rawKey;
        QByteArray rawValue;
    };

    // The index of the key's entry, -1 when missing.
    std::ptrdiff_t IndexOf(const QString& key) const;

    std::vector<Entry> entries_;
    QByteArray otherSections_;
};

} // namespace tembrel
