#include "CacheFolderCommand.h"
#include "RegistryCacheFolderCommand.h"
#include "RegistryValueGuard.h"
#include "StoredText.h"

#include <QSettings>

#include <exception>
#include <optional>
#include <utility>

namespace tembrel {

namespace {

struct StoredPath {
    bool found = false;
    std::optional<QString> path = QString(); // nullopt: another type with data
};

// Asked from the software key, QSettings opens the keys below it for reading
// only, so a Google Earth key that does not exist is never created.
StoredPath ReadCachePath(const QString& software, const QString& googleEarthKey) {
    const QString value = QStringLiteral("CachePath");
    if (IsRefusedRegistryValue(software + QStringLiteral("\\Google\\") + googleEarthKey, value)) {
        return {.found = true, .path = std::nullopt};
    }
    const QSettings settings(QStringLiteral("HKEY_CURRENT_USER\\") + software,
                             QSettings::NativeFormat);
    const QString name = QStringLiteral("Google/") + googleEarthKey + QLatin1Char('/') + value;
    if (!settings.contains(name)) {
        return {};
    }
    return {.found = true, .path = StoredText(settings.value(name))};
}

} // namespace

RegistryCacheFolderCommand::RegistryCacheFolderCommand(ShellOpener& shell, QString software)
    : shell_(shell), software_(std::move(software)) {}

bool RegistryCacheFolderCommand::Run() {
    try {
        StoredPath stored = ReadCachePath(software_, QStringLiteral("Google Earth Plus"));
        if (!stored.found) {
            stored = ReadCachePath(software_, QStringLiteral("Google Earth Pro"));
        }
        return stored.path && OpenFolderInShell(shell_, *stored.path);
    } catch (const std::exception&) {
        return false;
    }
}

std::unique_ptr<CacheFolderCommand> CreateCacheFolderCommand(ShellOpener& shell) {
    return std::make_unique<RegistryCacheFolderCommand>(shell, QStringLiteral("Software"));
}

} // namespace tembrel
