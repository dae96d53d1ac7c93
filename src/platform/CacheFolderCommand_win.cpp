#include "CacheFolderCommand.h"
#include "RegistrySettingsStore.h"
#include "StoredText.h"

#include <exception>
#include <optional>
#include <string>

namespace tembrel {

namespace {

// "CachePath" under one Google Earth key; nullopt when the value is missing.
std::optional<std::string> ReadCachePath(const char* subKey, RegistryKeyAccess access) {
    const std::unique_ptr<SettingsStore> store = CreateRegistrySettingsStore(subKey, access);
    store->Open(); // not examined: a key that cannot be opened holds no value
    return ReadStoredText(*store, "CachePath"); // the store closes its key when destroyed
}

// Reads where Google Earth records its cache folder and hands the path to the
// shell, which reports its own failures.
class RegistryCacheFolderCommand final : public CacheFolderCommand {
public:
    explicit RegistryCacheFolderCommand(ShellOpener& shell) : shell_(shell) {}

    bool Run() override {
        try {
            std::optional<std::string> stored = ReadCachePath("Software\\Google\\Google Earth Plus",
                                                              RegistryKeyAccess::CreateWhenMissing);
            if (!stored) {
                // Where current versions keep it; that key is never created here.
                stored = ReadCachePath("Software\\Google\\Google Earth Pro",
                                       RegistryKeyAccess::ReadOnly);
            }
            shell_.Open(stored.value_or(std::string())); // also an empty path
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }

private:
    ShellOpener& shell_;
};

} // namespace

std::unique_ptr<CacheFolderCommand> CreateCacheFolderCommand(ShellOpener& shell) {
    return std::make_unique<RegistryCacheFolderCommand>(shell);
}

} // namespace tembrel
