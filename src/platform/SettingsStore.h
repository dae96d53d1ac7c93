#pragma once

#include <array>
#include <memory>
#include <string>

namespace tembrel {

// The eight edit texts (UTF-8) in the order they are restored and saved:
// E_LatD, E_LonD, E_VE, E_VS, E_VEast, E_VSouth, E_VA, E_VR.
using EditTexts = std::array<std::string, 8>;
inline constexpr std::array<const char*, 8> EditValueNames = {
    "E_LatD", "E_LonD", "E_VE", "E_VS", "E_VEast", "E_VSouth", "E_VA", "E_VR"};

// Abstract base class for the per-user store of the eight edit texts. Neither
// call throws or reports anything to the user.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The texts as last saved, by the rules of StoredText.h: a missing value
    // gives an empty text; a value of another type with data ends the restore
    // there, leaving it and the later texts empty.
    virtual EditTexts Restore() = 0;
    // Saves the eight texts as strings. False when they could not be saved;
    // what was stored before is then left whole.
    virtual bool Save(const EditTexts& texts) = 0;
};

// The store for the current user: the registry key
// HKEY_CURRENT_USER\Software\Tembrel on Windows, the INI file
// Tembrel/Tembrel.conf of the user's configuration folder elsewhere.
std::unique_ptr<SettingsStore> CreateUserSettingsStore();

} // namespace tembrel
