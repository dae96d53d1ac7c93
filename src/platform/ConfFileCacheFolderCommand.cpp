#include "ConfFileCacheFolderCommand.h"

#include "StoredText.h"

#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>

#include <exception>
#include <memory>
#include <optional>
#include <utility>

namespace tembrel {

namespace {

// What the lookup of "CachePath" in one settings file of Google Earth gives.
struct StoredPath {
    bool readable = true;                    // false: the file exists but is unfit to read
    bool found = false;                      // the value is there
    std::optional<QString> path = QString(); // nullopt: another type with data
};

StoredPath ReadCachePath(const QString& file) {
    QFileInfo info(file);
    if (!info.exists() && !info.isSymLink()) {
        return {};
    }
    const std::unique_ptr<QTemporaryFile> copy = CheckedSettingsCopy(file);
    if (!copy) {
        return {.readable = false};
    }
    const QSettings settings(copy->fileName(), QSettings::IniFormat);
    const QVariant value = settings.value(QStringLiteral("CachePath"));
    if (settings.status() != QSettings::NoError) {
        return {.readable = false};
    }
    return {.found = settings.contains(QStringLiteral("CachePath")), .path = StoredText(value)};
}

} // namespace

ConfFileCacheFolderCommand::ConfFileCacheFolderCommand(ShellOpener& shell, QString configDirectory,
                                                       QString homeDirectory)
    : shell_(shell), configDirectory_(std::move(configDirectory)),
      homeDirectory_(std::move(homeDirectory)) {}

bool ConfFileCacheFolderCommand::Run() {
    try {
        StoredPath stored =
            ReadCachePath(configDirectory_ + QStringLiteral("/Google/GoogleEarthPro.conf"));
        if (stored.readable && !stored.found) {
            stored =
                ReadCachePath(configDirectory_ + QStringLiteral("/Google/GoogleEarthPlus.conf"));
        }
        if (!stored.readable || !stored.path) {
            return false;
        }
        QString path = *stored.path;
        if (path.isEmpty()) {
            path = homeDirectory_ + QStringLiteral("/.googleearth/Cache");
        }
        return OpenFolderInShell(shell_, path);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace tembrel
