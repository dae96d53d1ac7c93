#include "PortSetting.h"

#include <QSettings>

#include <exception>

namespace tembrel {

namespace {

// A REG_DWORD beside the eight texts, whose save leaves other values alone.
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

private:
    static QString KeyPath() { return QStringLiteral("HKEY_CURRENT_USER\\Software\\Tembrel"); }
};

} // namespace

std::unique_ptr<PortSetting> CreateUserPortSetting() {
    return std::make_unique<RegistryPortSetting>();
}

} // namespace tembrel
