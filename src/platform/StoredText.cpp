#include "StoredText.h"

#include "SettingsReadError.h"

namespace tembrel {

namespace {

std::string Quoted(const char* message, std::string_view name) {
    std::string text(message);
    text += " '";
    text += name;
    text += '\'';
    return text;
}

} // namespace

std::optional<std::string> ReadStoredText(SettingsStore& store, std::string_view name) {
    SettingsStore::ValueType type = SettingsStore::ValueType::Other;
    std::size_t size = 0;
    if (!store.QueryValue(name, type, size)) {
        return std::nullopt;
    }
    if (size == 0) {
        return std::string();
    }
    std::string data;
    if (!store.ReadValue(name, size, type, data)) {
        throw SettingsReadError(Quoted("Failed to get data for", name));
    }
    if (type != SettingsStore::ValueType::String &&
        type != SettingsStore::ValueType::ExpandString) {
        throw SettingsReadError(Quoted("Invalid data type for", name));
    }
    return data.substr(0, data.find('\0'));
}

} // namespace tembrel
