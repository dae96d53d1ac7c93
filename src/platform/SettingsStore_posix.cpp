#include "IniFileSettingsStore.h"
#include "SettingsStore.h"
#include "UserDirectories.h"

namespace tembrel {

std::unique_ptr<SettingsStore> CreateUserSettingsStore() {
    return std::make_unique<IniFileSettingsStore>(UserConfigDirectory() +
                                                      QStringLiteral("/Tembrel/Tembrel.conf"),
                                                  IniFileSettingsStore::Mode::CreateWhenMissing);
}

} // namespace tembrel
