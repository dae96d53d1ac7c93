#include "RegistrySettingsStore.h"
#include "SettingsStore.h"

namespace tembrel {

std::unique_ptr<SettingsStore> CreateUserSettingsStore() {
    return CreateRegistrySettingsStore("Software\\Tembrel\\", RegistryKeyAccess::CreateWhenMissing);
}

} // namespace tembrel
