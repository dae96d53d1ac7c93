#include "SettingsStore.h"
#include "StoredText.h"

#include <QSettings>

#include <exception>

namespace tembrel {

namespace {

// The eight texts as REG_SZ values of HKEY_CURRENT_USER\Software\Tembrel,
// through QSettings' registry format. Qt reads REG_SZ and REG_EXPAND_SZ as
// strings (unexpanded), REG_DWORD and REG_QWORD as numbers and REG_MULTI_SZ as
// a list, so the type rule of StoredText.h applies; REG_BINARY and REG_NONE
// come back as strings, as Qt itself stores a text holding a NUL that way. A
// value whose text starts with '@' is read in QSettings' escaped form ("@@x"
// is "@x"), as QSettings writes it.
class RegistrySettingsStore final : public SettingsStore {
public:
    EditTexts Restore() override {
        try {
            // Opening the key creates it, as at a first start.
            const QSettings settings(KeyPath(), QSettings::NativeFormat);
            return RestoreEditTexts(settings);
        } catch (const std::exception&) {
            return {};
        }
    }

    bool Save(const EditTexts& texts) override {
        try {
            QSettings settings(KeyPath(), QSettings::NativeFormat);
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

private:
    static QString KeyPath() { return QStringLiteral("HKEY_CURRENT_USER\\Software\\Tembrel"); }
};

} // namespace

std::unique_ptr<SettingsStore> CreateUserSettingsStore() {
    return std::make_unique<RegistrySettingsStore>();
}

} // namespace tembrel
