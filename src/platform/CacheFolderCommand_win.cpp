#include "CacheFolderCommand.h"
#include "StoredText.h"

#include <QSettings>

#include <exception>
#include <optional>

namespace tembrel {

namespace {

// "CachePath" under one Google Earth key of HKEY_CURRENT_USER\Software.
// Asked from the Software key, QSettings opens the keys below it for reading
// only, so a Google Earth key that does not exist is never created.
struct StoredPath {
    bool found = false;
    std::optional<QString> path = QString(); // nullopt: another type with data
};

StoredPath ReadCachePath(const QString& googleEarthKey) {
    const QSettings software(QStringLiteral("HKEY_CURRENT_USER\\Software"),
                             QSettings::NativeFormat);
    const QString name = QStringLiteral("Google/") + googleEarthKey + QStringLiteral("/CachePath");
    if (!software.contains(name)) {
        return {};
    }
    return {.found = true, .path = StoredText(software.value(name))};
}

class RegistryCacheFolderCommand final : public CacheFolderCommand {
public:
    explicit RegistryCacheFolderCommand(ShellOpener& shell) : shell_(shell) {}

    bool Run() override {
        try {
            StoredPath stored = ReadCachePath(QStringLiteral("Google Earth Plus"));
            if (!stored.found) {
                // Where current versions keep it.
                stored = ReadCachePath(QStringLiteral("Google Earth Pro"));
            }
            return stored.path && OpenFolderInShell(shell_, *stored.path);
        } catch (const std::exception&) {
            return false;
        }
    }

private:
    ShellOpener& shell_;
};

} // namespace

std::unique_ptr<CacheFolderCommand> CreateCacheFolderCommand(ShellOpener& shell) {
    return std::make_unique<RegistryCacheFolderCommand>(shell);
}

} // namespace tembrel
