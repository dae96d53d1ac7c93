#pragma once

#include "SettingsStore.h"

#include <optional>
#include <string>
#include <string_view>

namespace tembrel {

// Reads one text value of an open store: nullopt when the value is missing or
// no key is open, an empty text when its data is empty, else the data up to
// its first NUL. An expandable string is taken unchanged. Throws
// SettingsReadError "Failed to get data for '<name>'" when the data cannot be
// read and "Invalid data type for '<name>'" when the value is not a string.
std::optional<std::string> ReadStoredText(SettingsStore& store, std::string_view name);

} // namespace tembrel
