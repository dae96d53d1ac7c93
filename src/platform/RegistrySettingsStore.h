#pragma once

#include "SettingsStore.h"

#include <memory>
#include <string>

namespace tembrel {

enum class RegistryKeyAccess {
    CreateWhenMissing, // RegCreateKeyExA with KEY_ALL_ACCESS
    ReadOnly,          // RegOpenKeyExA with KEY_READ: never creates the key
};

// A settings store on a key of HKEY_CURRENT_USER through the registry's ANSI
// functions. Texts are converted between UTF-8 and the ANSI code page; a
// string is written as REG_SZ of text length + 1 bytes. Windows only.
std::unique_ptr<SettingsStore> CreateRegistrySettingsStore(std::string subKey,
                                                           RegistryKeyAccess access);

} // namespace tembrel
