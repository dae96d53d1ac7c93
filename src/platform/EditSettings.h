#pragma once

#include "SettingsStore.h"

#include <array>
#include <string>

namespace tembrel {

// The eight edit texts (UTF-8) in the order they are stored: E_LatD, E_LonD,
// E_VE, E_VS, E_VEast, E_VSouth, E_VA, E_VR.
using EditTexts = std::array<std::string, 8>;
inline constexpr std::array<const char*, 8> EditValueNames = {
    "E_LatD", "E_LonD", "E_VE", "E_VS", "E_VEast", "E_VSouth", "E_VA", "E_VR"};

// Restores the texts, silently: a missing store or value gives an empty text;
// a value of another type with data, or data that cannot be read, ends the
// restore there, leaving it and the later texts empty. Throws nothing.
EditTexts RestoreEditTexts(SettingsStore& store);

// Saves the texts in the order above, silently; a failed write ends the save
// there. Throws nothing.
void SaveEditTexts(SettingsStore& store, const EditTexts& texts);

} // namespace tembrel
