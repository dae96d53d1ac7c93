#include "ConfFileCacheFolderCommand.h"

#include "IniFileSettingsStore.h"
#include "SettingsReadError.h"
#include "StoredText.h"

#include <QFileInfo>

#include <exception>
#include <optional>
#include <string>
#include <utility>

namespace tembrel {

namespace {

// "CachePath" of one Google Earth settings file; nullopt when the file or the
// value is missing.
std::optional<std::string> ReadCachePath(const QString& file) {
    if (!QFileInfo::exists(file)) {
        return std::nullopt;
    }
    IniFileSettingsStore store(file, IniFileSettingsStore::Mode::ReadOnly);
    if (!store.Open()) {
        throw SettingsReadError("Failed to get data for 'CachePath'");
    }
    std::optional<std::string> path = ReadStoredText(store, "CachePath");
    store.Close();
    return path;
}

} // namespace

ConfFileCacheFolderCommand::ConfFileCacheFolderCommand(ShellOpener& shell, QString configDirectory,
                                                       QString homeDirectory)
    : shell_(shell), configDirectory_(std::move(configDirectory)),
      homeDirectory_(std::move(homeDirectory)) {}

bool ConfFileCacheFolderCommand::Run() {
    try {
        std::optional<std::string> stored =
            ReadCachePath(configDirectory_ + QStringLiteral("/Google/GoogleEarthPro.conf"));
        if (!stored) {
            stored =
                ReadCachePath(configDirectory_ + QStringLiteral("/Google/GoogleEarthPlus.conf"));
        }
        std::string path = stored.value_or(std::string());
        if (path.empty()) {
            path = (homeDirectory_ + QStringLiteral("/.googleearth/Cache")).toStdString();
        }
        // xdg-open reports a missing folder to nobody, so it is caught here.
        if (!QFileInfo(QString::fromStdString(path)).isDir()) {
            return false;
        }
        return shell_.Open(path);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace tembrel
