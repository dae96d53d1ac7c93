#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tembrel {

// Abstract base class for a per-user store of named values, offering what the
// program relies on of the registry: open or create the key, ask a value's
// type and data, set a string value, close. The Windows registry and an INI
// file in the QSettings form on other systems implement it. Names and texts
// are UTF-8.
class SettingsStore {
public:
    enum class ValueType { String, ExpandString, Other };

    virtual ~SettingsStore() = default;

    // Opens the key, creating it when missing (unless the store is read-only).
    // False when neither works; the other calls then fail.
    virtual bool Open() = 0;
    // False when the value is missing or no key is open; else its type and
    // the size of its data in bytes (a string's NUL included).
    virtual bool QueryValue(std::string_view name, ValueType& type, std::size_t& size) = 0;
    // Reads the value into a buffer of `size` bytes: its type and data. False
    // when the data cannot be read, or does not fit.
    virtual bool ReadValue(std::string_view name, std::size_t size, ValueType& type,
                           std::string& data) = 0;
    // False when the value cannot be written.
    virtual bool SetString(std::string_view name, std::string_view text) = 0;
    // Closes the key. A store that buffers its writes commits them here; false
    // when that fails, which leaves any previous store intact.
    virtual bool Close() = 0;
};

// The store of Tembrel's eight edit texts for the current user: the key
// "Software\Tembrel\" of HKEY_CURRENT_USER on Windows, the file
// Tembrel/Tembrel.conf of the user's configuration directory elsewhere.
std::unique_ptr<SettingsStore> CreateUserSettingsStore();

} // namespace tembrel
