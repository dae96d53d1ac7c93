#include "IniSettingsStore.h"
#include "SettingsStore.h"
#include "UserDirectories.h"

namespace tembrel {

std::unique_ptr<SettingsStore> CreateUserSettingsStore() {
    return std::make_unique<IniSettingsStore>(UserConfigDirectory() +
                                              QStringLiteral("/Tembrel/Tembrel.conf"));
}

} // namespace tembrel
