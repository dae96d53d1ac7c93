#pragma once

#include <cstdint>
#include <memory>

namespace tembrel {

// The view server's port, kept for the user apart from the eight edit texts
// (whose save keeps nothing else). Neither call throws.
class PortSetting {
public:
    virtual ~PortSetting() = default;
    // The port last saved; 0 when none was or it cannot be read.
    virtual std::uint16_t Read() = 0;
    // False when it could not be saved; what was stored before is then kept.
    virtual bool Save(std::uint16_t port) = 0;
};

// The value ViewServerPort of HKEY_CURRENT_USER\Software\Tembrel on Windows,
// the file Tembrel/ViewServerPort of the user's configuration folder elsewhere.
std::unique_ptr<PortSetting> CreateUserPortSetting();

} // namespace tembrel
