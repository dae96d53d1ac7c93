#include "PortSetting.h"

#include <QSettings>

#include <exception>
#include <string>

namespace tembrel {

namespace {

// A REG_DWORD and a REG_SZ beside the eight texts, whose save leaves other
// values alone.
class RegistryPortSetting final : public PortSetting {
public:
    std::uint16_t Read() override {
        try {
            const QSettings settings(KeyPath(), QSettings::NativeFormat);
            bool number = false;
            const uint port = settings.value(QStringLiteral("ViewServerPort")).toUInt(&number);
            return number && port > 0 && port <= 65535 ? static_cast<std::uint16_t>(port) : 0;
        } catch (const std::exception&) {
            return 0;
        }
    }

    bool Save(std::uint16_t port) override {
        try {
            QSettings settings(KeyPath(), QSettings::NativeFormat);
            settings.setValue(QStringLiteral("ViewServerPort"), static_cast<int>(port));
            settings.sync();
            return settings.status() == QSettings::NoError;
        } catch (const std::exception&) {
            return false;
        }
    }

    std::string ReadSecret() override {
        try {
            const QSettings settings(KeyPath(), QSettings::NativeFormat);
            const QVariant value = settings.value(QStringLiteral("ViewServerSecret"));
            // A string of a few dozen characters, or none.
            if (value.typeId() != QMetaType::QString || value.toString().size() > 64) {
                return {};
            }
            return value.toString().toStdString();
        } catch (const std::exception&) {
            return {};
        }
    }

    bool SaveSecret(const std::string& secret) override {
        try {
            QSettings settings(KeyPath(), QSettings::NativeFormat);
            settings.setValue(QStringLiteral("ViewServerSecret"), QString::fromStdString(secret));
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

std::unique_ptr<PortSetting> CreateUserPortSetting() {
    return std::make_unique<RegistryPortSetting>();
}

} // namespace tembrel
