#include "RegistrySettingsStore.h"
#include "RegistryValueGuard.h"
#include "SettingsStore.h"
#include "StoredText.h"

#include <QSettings>

#include <exception>
#include <utility>

namespace tembrel {

namespace {

QString QSettingsPath(const QString& subKey) {
    return QStringLiteral("HKEY_CURRENT_USER\\") + subKey;
}

} // namespace

RegistrySettingsStore::RegistrySettingsStore(QString subKey) : subKey_(std::move(subKey)) {}

EditTexts RegistrySettingsStore::Restore() {
    try {
        const QSettings settings(QSettingsPath(subKey_), QSettings::NativeFormat);
        return RestoreEditTexts(settings, [this](const QString& name) {
            return IsRefusedRegistryValue(subKey_, name);
        });
    } catch (const std::exception&) {
        return {};
    }
}

bool RegistrySettingsStore::Save(const EditTexts& texts) {
    try {
        QSettings settings(QSettingsPath(subKey_), QSettings::NativeFormat);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            settings.setValue(QString::fromLatin1(EditValueNames[i]),
                              QString::fromStdString(texts[i]));
        }
        settings.sync();
        return settings.status() == QSettings::NoError;
    } catch (const std::exception&) {
        return false;
    }
}

std::unique_ptr<SettingsStore> CreateUserSettingsStore() {
    return std::make_unique<RegistrySettingsStore>(QStringLiteral("Software\\Tembrel"));
}

} // namespace tembrel
