#pragma once

#include <stdexcept>

namespace tembrel {

// A stored value that cannot be taken as a text: its data could not be read,
// or it is of another type. Never leaves the platform layer: the settings
// swallow it, the cache-folder command turns it into its error result.
class SettingsReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tembrel
