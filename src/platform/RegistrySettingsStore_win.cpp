#include "RegistrySettingsStore.h"

#include "AnsiText.h"

#include <windows.h>

#include <utility>

namespace tembrel {

namespace {

SettingsStore::ValueType TypeOf(DWORD registryType) {
    switch (registryType) {
    case REG_SZ:
        return SettingsStore::ValueType::String;
    case REG_EXPAND_SZ:
        return SettingsStore::ValueType::ExpandString;
    default:
        return SettingsStore::ValueType::Other;
    }
}

class RegistrySettingsStore final : public SettingsStore {
public:
    RegistrySettingsStore(std::string subKey, RegistryKeyAccess access)
        : subKey_(std::move(subKey)), access_(access) {}
    ~RegistrySettingsStore() override { Close(); }
    RegistrySettingsStore(const RegistrySettingsStore&) = delete;
    RegistrySettingsStore& operator=(const RegistrySettingsStore&) = delete;

    bool Open() override {
        Close();
        HKEY key = nullptr;
        LONG result = ERROR_SUCCESS;
        if (access_ == RegistryKeyAccess::CreateWhenMissing) {
            result =
                RegCreateKeyExA(HKEY_CURRENT_USER, subKey_.c_str(), 0, nullptr,
                                REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        } else {
            result = RegOpenKeyExA(HKEY_CURRENT_USER, subKey_.c_str(), 0, KEY_READ, &key);
        }
        if (result != ERROR_SUCCESS) {
            return false;
        }
        key_ = key;
        return true;
    }

    bool QueryValue(std::string_view name, ValueType& type, std::size_t& size) override {
        if (key_ == nullptr) {
            return false;
        }
        const std::string valueName(name);
        DWORD registryType = 0;
        DWORD dataSize = 0;
        if (RegQueryValueExA(key_, valueName.c_str(), nullptr, &registryType, nullptr, &dataSize) !=
            ERROR_SUCCESS) {
            return false;
        }
        type = TypeOf(registryType);
        size = dataSize;
        return true;
    }

    bool ReadValue(std::string_view name, std::size_t size, ValueType& type,
                   std::string& data) override {
        if (key_ == nullptr || size > MAXDWORD) {
            return false;
        }
        const std::string valueName(name);
        std::string buffer(size, '\0');
        DWORD registryType = 0;
        DWORD dataSize = static_cast<DWORD>(size);
        if (RegQueryValueExA(key_, valueName.c_str(), nullptr, &registryType,
                             reinterpret_cast<BYTE*>(buffer.data()), &dataSize) != ERROR_SUCCESS) {
            return false;
        }
        buffer.resize(dataSize);
        type = TypeOf(registryType);
        data = type == ValueType::Other ? std::move(buffer) : AnsiToUtf8(buffer);
        return true;
    }

    bool SetString(std::string_view name, std::string_view text) override {
        if (key_ == nullptr) {
            return false;
        }
        const std::string valueName(name);
        const std::string ansi = Utf8ToAnsi(text);
        if (ansi.size() >= MAXDWORD) {
            return false;
        }
        // The data is the text with its terminating NUL.
        return RegSetValueExA(key_, valueName.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(ansi.c_str()),
                              static_cast<DWORD>(ansi.size() + 1)) == ERROR_SUCCESS;
    }

    bool Close() override {
        if (key_ != nullptr) {
            RegCloseKey(key_);
            key_ = nullptr;
        }
        return true;
    }

private:
    std::string subKey_;
    RegistryKeyAccess access_;
    HKEY key_ = nullptr;
};

} // namespace

std::unique_ptr<SettingsStore> CreateRegistrySettingsStore(std::string subKey,
                                                           RegistryKeyAccess access) {
    return std::make_unique<RegistrySettingsStore>(std::move(subKey), access);
}

} // namespace tembrel
