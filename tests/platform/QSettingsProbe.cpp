#include "QSettingsProbe.h"

#include "ScopedEnvironment.h"

#include <QSettings>
#include <QTemporaryDir>

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

bool SameVariant(const QVariant& a, const QVariant& b) {
    return a.typeId() == b.typeId() && a == b;
}

} // namespace tembrel::test
