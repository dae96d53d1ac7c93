#include "QSettingsProbe.h"

#include "ScopedEnvironment.h"

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

namespace tembrel::test {

namespace {

QString FreshPath(const QTemporaryDir& dir) {
    static int counter = 0;
    return dir.filePath(QStringLiteral("probe-%1.conf").arg(++counter));
}

} // namespace

QVariant QSettingsValue(const QByteArray& file, const QString& key) {
    QTemporaryDir dir;
    const QString path = FreshPath(dir);
    WriteFile(path, file);
    const QSettings settings(path, QSettings::IniFormat);
    // Parses every section first: asked for "a/b" straight away, QSettings
    // looks only in a section [a] and misses a key "a\b" under [General].
    settings.allKeys();
    return settings.value(key);
}

QByteArray QSettingsFileWith(const QString& key, const QString& text) {
    QTemporaryDir dir;
    const QString path = FreshPath(dir);
    {
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(key, text);
        settings.sync();
    }
    return ReadFile(path);
}

std::string Describe(const QVariant& value) {
    std::string text = value.isValid() ? value.typeName() : "invalid";
    text += " [";
    if (value.typeId() == QMetaType::QStringList || value.typeId() == QMetaType::QVariantList) {
        const QVariantList items = value.toList();
        for (qsizetype i = 0; i < items.size(); ++i) {
            text += (i > 0 ? " | " : "") + Describe(items[i]);
        }
    } else if (value.typeId() == QMetaType::QByteArray) {
        text += value.toByteArray().toHex().toStdString();
    } else {
        text += value.toString().toStdString();
    }
    return text + "]";
}

bool SameVariant(const QVariant& a, const QVariant& b) {
    return a.typeId() == b.typeId() && a == b;
}

} // namespace tembrel::test
